#pragma once

#include <string>
#include <utility>
#include <vector>

// The name=value lines of the last HEAD response of a grab thread. Names match without
// regard to case; setting an empty value removes the name; the table is kept from page
// to page, so a header a response lacks keeps the value an earlier one gave.
class THeaderTable {
public:
    std::string Value(const std::string& name) const;
    void Set(const std::string& name, const std::string& value);
    // Every line of response that holds ":" sets its name to the text from the second
    // character after the first ":" (the blank after the colon is skipped, nothing else is
    // trimmed). Stops early when stopped() turns true.
    template <typename Stop> void Take(const std::string& response, Stop stopped);

private:
    std::vector<std::pair<std::string, std::string>> lines;
};

// The status code of a response: its characters 10 to 12.
std::string StatusCodeOf(const std::string& response);

// True when response holds an empty line (CR LF CR LF or LF LF), the end of a header.
bool HasHeaderEnd(const std::string& response);

// The offset just after the first empty line of response, or npos when it has none.
// from says where to start looking, for a response that grows and was looked at before.
size_t BodyOffset(const std::string& response, size_t from = 0);

// True when the answer's Connection header asks for keep-alive: the server leaves the
// connection open after it, for another request.
bool KeepsConnection(const std::string& response);

template <typename Stop> void THeaderTable::Take(const std::string& response, Stop stopped)
{
    size_t start = 0;
    while (start < response.size() && !stopped()) {
        size_t end = response.find('\n', start);
        if (end == std::string::npos)
            end = response.size();
        std::string line = response.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t colon = line.find(':');
        if (colon != std::string::npos)
            Set(line.substr(0, colon), colon + 2 <= line.size() ? line.substr(colon + 2) : std::string());
        start = end + 1;
    }
}
