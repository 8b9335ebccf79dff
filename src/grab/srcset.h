#pragma once

#include <cstddef>
#include <string_view>

// The addresses of a "srcset" value: candidates parted by commas, each an address with
// optional descriptors ("1x", "480w"). A comma inside an address belongs to it unless it
// ends the address. The addresses are views of the value.
class TSrcset {
public:
    explicit TSrcset(std::string_view value);

    // The next address; false when there is none.
    bool NextUrl(std::string_view& url);

private:
    void SkipDescriptors();

    std::string_view value;
    size_t position = 0;
};
