#include "grab/redirect.h"

#include <algorithm>

#include "core/text.h"

namespace {

TRedirect Refuse(const std::string& why)
{
    TRedirect answer;
    answer.refusal = why;
    return answer;
}

bool HasBlankOrControl(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7F;
    });
}

bool IsWebAddress(const Turl& url)
{
    const std::string& text = url.URLText();
    return (text.starts_with("http://") || text.starts_with("https://")) && !url.HostName().empty();
}

}  // namespace

bool IsRedirectStatus(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string LocationOf(const std::string& response)
{
    size_t start = 0;
    while (start < response.size()) {
        size_t end = response.find('\n', start);
        if (end == std::string::npos)
            end = response.size();
        std::string line = response.substr(start, end - start);
        size_t colon = line.find(':');
        if (colon != std::string::npos && SameText(Trim(line.substr(0, colon)), "Location"))
            return Trim(line.substr(colon + 1));
        // The header ends at its empty line; what follows is no header.
        if (Trim(line).empty() && start > 0)
            break;
        start = end + 1;
    }
    return {};
}

TRedirect DecideRedirect(const std::vector<std::string>& chain, int status, const std::string& location,
                         bool crossSite)
{
    if (chain.empty() || !IsRedirectStatus(status))
        return Refuse("不是轉址");
    std::string value = Trim(location);
    if (value.empty())
        return Refuse("沒有新網址");
    if (value.size() > MaxLocation || HasBlankOrControl(value))
        return Refuse("新網址格式不對");
    Turl target = Turl(chain.back()).Combine(value);
    // Too long for an address of the store once resolved.
    if (target.URLText().empty())
        return Refuse("新網址格式不對");
    if (!IsWebAddress(target))
        return Refuse("新網址不是http或https");
    if (!crossSite && !SameText(target.HostName(), Turl(chain.front()).HostName()))
        return Refuse("新網址在別的站台");
    if (std::find(chain.begin(), chain.end(), target.URLText()) != chain.end())
        return Refuse("轉址繞回原處");
    if (chain.size() > static_cast<size_t>(MaxRedirectHops))
        return Refuse("轉址次數太多");
    TRedirect answer;
    answer.follow = true;
    answer.target = target;
    return answer;
}
