#pragma once

#include <string>
#include <string_view>

// URI references by RFC 3986: splitting, resolving a reference against a base, and the
// canonical form the grabber keeps. Pure functions over texts; nothing here touches the
// page store.

// The five components of a URI reference (RFC 3986 appendix B). The views point into the
// text that was split; the flags tell an absent component from an empty one.
struct UrlParts {
    std::string_view scheme;
    std::string_view authority;
    std::string_view path;
    std::string_view query;
    std::string_view fragment;
    bool hasScheme = false;
    bool hasAuthority = false;
    bool hasQuery = false;
    bool hasFragment = false;
};

// A scheme is taken only when it is well formed (a letter, then letters, digits, "+",
// "-" or "."); otherwise the text before a ":" is part of a relative path.
UrlParts SplitUrl(std::string_view text);

// The parts written out again (RFC 3986 section 5.3).
std::string ComposeUrl(const UrlParts& parts);

// RFC 3986 section 5.2.2 (strict). False when reference has no scheme and base is not
// absolute, so there is nothing to resolve it against.
bool ResolveReference(std::string_view base, std::string_view reference, std::string& target);

// The canonical text: scheme and host in lower case, dot segments removed, then every
// percent escape of path, query and fragment decoded and nothing encoded; "/" for an
// empty path after an authority. The authority is not decoded, so an escaped "/", "@" or
// ":" cannot move where the host ends.
std::string CanonicalUrl(std::string_view text);
