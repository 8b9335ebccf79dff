#include "grab/currentsite.h"

#include "core/text.h"
#include "grab/grabstate.h"
#include "grab/turl.h"

namespace {

std::string ComparableForm(const std::string& url)
{
    std::string text = Turl(url).URLText();
    // An address the URL model cannot take (too long, malformed) is compared as typed.
    if (text.empty())
        text = url;
    if (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return LowerCase(text);
}

}  // namespace

bool SameSiteAddress(const std::string& a, const std::string& b)
{
    return ComparableForm(a) == ComparableForm(b);
}

bool IsCurrentSite(const std::string& url)
{
    std::string current = GrabState().CurrentSiteURL();
    return !current.empty() && SameSiteAddress(url, current);
}
