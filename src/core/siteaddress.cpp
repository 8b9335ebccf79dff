#include "core/siteaddress.h"

#include "core/text.h"

std::string NormalizeSiteAddress(const std::string& typed)
{
    if (typed.empty())
        return typed;
    for (const std::string prefix : {"https://", "http://"})
        if (StartsWithText(typed, prefix))
            return prefix + typed.substr(prefix.size());
    return "http://" + typed;
}
