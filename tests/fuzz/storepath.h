#pragma once

#include <string>

// True when path has a ".." step, which would climb out of the folder it is meant to stay in.
inline bool HasParentStep(const std::string& path)
{
    for (size_t at = path.find(".."); at != std::string::npos; at = path.find("..", at + 1)) {
        bool startsStep = at == 0 || path[at - 1] == '/';
        bool endsStep = at + 2 == path.size() || path[at + 2] == '/';
        if (startsStep && endsStep)
            return true;
    }
    return false;
}
