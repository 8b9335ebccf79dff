#include "dial/dialjob.h"

namespace {

constexpr size_t connectionRoom = 10;
constexpr size_t entryRoom = 32;
constexpr size_t parameterLength = 31;
constexpr size_t errorLength = 127;

// The first count characters of a UTF-8 text, never cutting one in two.
std::string FirstCharacters(const std::string& text, size_t count)
{
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && seen++ == count)
            return text.substr(0, i);
    }
    return text;
}

// A text that fits on one line of the profile file and in the caller's buffer.
std::string ErrorLine(std::string text)
{
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return FirstCharacters(text, errorLength);
}

}  // namespace

TDialJob::TDialJob(TRasService& ras, TProfileFile& exchange) : ras(ras), exchange(exchange) {}

void TDialJob::Dial()
{
    exchange.WriteString("retvalue", "connected", ActiveConnections().empty() ? "0" : "1");
    TRasDialParams params;
    params.entryName = Parameter("rassource");
    params.phoneNumber = Parameter("telnum");
    params.userName = Parameter("username");
    params.password = Parameter("password");
    TRasHandle handle = 0;
    unsigned code = ras.Dial(params, handle);
    // A handle left from an earlier dial would make the next hang-up aim at a connection
    // that is gone instead of hanging up every one.
    if (handle != 0)
        exchange.WriteStruct("retvalue", "hRasConn", &handle, sizeof handle);
    else
        exchange.DeleteKey("retvalue", "hRasConn");
    exchange.DeleteKey("retvalue", "rassource");
    if (code != 0) {
        WriteError(code);
        exchange.WriteString("retvalue", "success", "0");
    } else {
        exchange.WriteString("retvalue", "connected", "1");
        exchange.WriteString("retvalue", "success", "1");
    }
    EndProcessing();
}

void TDialJob::HangUp()
{
    std::vector<TRasConnection> active = ActiveConnections();
    if (!active.empty()) {
        TRasHandle handle = 0;
        unsigned code = 0;
        if (exchange.ReadStruct("retvalue", "hRasConn", &handle, sizeof handle)) {
            code = ras.HangUp(handle);
        } else {
            // Without the dial's handle every connection goes; what each call says does
            // not matter then.
            for (auto connection = active.rbegin(); connection != active.rend(); ++connection)
                ras.HangUp(connection->handle);
        }
        exchange.DeleteKey("parameters", "rassource");
        exchange.DeleteKey("retvalue", "hRasConn");
        exchange.DeleteKey("retvalue", "success");
        exchange.DeleteKey("retvalue", "connected");
        if (code == 0)
            exchange.DeleteKey("Errors", "RasError");
        else
            WriteError(code);
    }
    EndProcessing();
}

void TDialJob::Check()
{
    std::vector<std::string> entries;
    if (unsigned code = ras.EnumEntries(entryRoom, entries))
        WriteError(code);
}

// A failed listing is reported, and counts as the connections it still gave.
std::vector<TRasConnection> TDialJob::ActiveConnections()
{
    std::vector<TRasConnection> connections;
    if (unsigned code = ras.EnumConnections(connectionRoom, connections))
        WriteError(code);
    return connections;
}

std::string TDialJob::Parameter(const std::string& key) const
{
    return FirstCharacters(exchange.ReadString("parameters", key, ""), parameterLength);
}

void TDialJob::WriteError(unsigned code)
{
    exchange.WriteString("Errors", "RasError", ErrorLine(ras.ErrorText(code)));
}

void TDialJob::EndProcessing()
{
    exchange.WriteString("retvalue", "processing", "0");
}
