#pragma once

#include <string>
#include <string_view>

// One page address in canonical form, with read-only views of it and the file that holds
// the page in the page store. Made for every link of every page, on worker threads too.
class Turl {
public:
    Turl() = default;
    // Canonicalises url (percent escapes decoded, nothing encoded). The text is empty when
    // that fails or the result is longer than 300 characters.
    explicit Turl(std::string_view url);

    const std::string& URLText() const { return text; }

    // From the first "/" after "//" to the end, query and fragment included. A text
    // without "//": empty when it has a dot, else the whole text.
    std::string PathPart() const;
    // After "//" up to the next "/" (without a further "/": the rest when it has a dot).
    // A text without "//": the text when it has a dot, else empty.
    std::string HostAndPort() const;
    // HostAndPort before its first ":".
    std::string HostName() const;
    // The decimal port after the ":" of HostAndPort; when there is none or it is no
    // number, the scheme's own: "443" for https, else "80" (":0080" gives "80").
    std::string PortText() const;
    // The page is fetched over TLS: the scheme is "https".
    bool IsSecure() const;

    // relative resolved against this URL; an empty Turl when it cannot be resolved or the
    // combined text is longer than 999 characters. From a page at the top of its site a
    // leading ".." is dropped, so "../a.htm" names the site's "/a.htm".
    Turl Combine(std::string_view relative) const;

    // The page's file inside its site folder ("dir/sub/page.html", "default.htm" for a
    // folder), or empty when the page has no file: a path that does not begin with "/",
    // holds "?", "#", "|" or a NUL, or has a "." or ".." segment. Empty segments are
    // dropped, so the result never begins with "/".
    std::string LocalPath() const;
    // "wwwData/" + the cached address of HostName + "/" + LocalPath, relative to the
    // program folder; empty without a LocalPath. An uncached host gives an empty address.
    // Neither scheme nor port plays a part: an https page and its http twin share a file.
    std::string StorePath() const;

    static bool HasDot(std::string_view s);

private:
    std::string_view PathView() const;
    std::string_view HostAndPortView() const;

    std::string text;
};
