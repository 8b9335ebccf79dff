#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// An address a style sheet refers to: the value of a url(...) or of an @import.
struct TStyleLink {
    std::string_view address;  // a view of the sheet, quotes and blanks around it taken off
    bool import = false;       // names a style sheet, not a picture or a font
};

// Finds the addresses of a style sheet (a text/css page, a <style> block or a style
// attribute) in order: url(...) with or without quotes, @import "..." and @import url(...).
// Comments and the insides of strings hold no addresses. Escapes are not decoded.
class TStyleSheet {
public:
    explicit TStyleSheet(std::string_view text);

    // The next address, never an empty one; false at the end of the sheet.
    bool NextLink(TStyleLink& link);

private:
    size_t FindSpecial(size_t from) const;
    bool OpensUrl(size_t parenthesis) const;
    bool ReadImport(TStyleLink& link);
    std::string_view ReadUrl();
    std::string_view ReadString();
    void SkipComment();
    void SkipSpaces();

    std::string_view text;
    size_t position = 0;
    std::array<bool, 256> isSpecial{};
};
