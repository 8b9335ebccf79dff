#include "grab/srcset.h"

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

}  // namespace

TSrcset::TSrcset(std::string_view value) : value(value) {}

bool TSrcset::NextUrl(std::string_view& url)
{
    while (position < value.size() && (IsSpace(value[position]) || value[position] == ','))
        ++position;
    if (position == value.size())
        return false;
    size_t start = position;
    while (position < value.size() && !IsSpace(value[position]))
        ++position;
    url = value.substr(start, position - start);
    if (url.ends_with(','))
        url.remove_suffix(url.size() - url.find_last_not_of(',') - 1);
    else
        SkipDescriptors();
    return true;
}

// Up to the comma that ends the candidate; a comma inside parentheses is a descriptor's.
void TSrcset::SkipDescriptors()
{
    int depth = 0;
    for (; position < value.size(); ++position) {
        char c = value[position];
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (c == ',' && depth == 0)
            return;
    }
}
