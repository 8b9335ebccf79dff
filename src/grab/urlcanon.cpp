#include "grab/urlcanon.h"

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsScheme(std::string_view text)
{
    if (text.empty() || !IsAlpha(text[0]))
        return false;
    for (char c : text)
        if (!IsAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    return true;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

char LowerChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendLower(std::string& out, std::string_view text)
{
    for (char c : text)
        out += LowerChar(c);
}

// User information keeps its case; only the host and port after it are lowered.
void AppendAuthority(std::string& out, std::string_view authority)
{
    size_t at = authority.rfind('@');
    size_t hostStart = at == npos ? 0 : at + 1;
    out.append(authority.substr(0, hostStart));
    AppendLower(out, authority.substr(hostStart));
}

// Drops the last segment of out together with the "/" before it.
void DropLastSegment(std::string& out)
{
    size_t slash = out.rfind('/');
    out.resize(slash == npos ? 0 : slash);
}

// RFC 3986 section 5.2.4: "." and ".." segments resolved; ".." never climbs above the root.
std::string RemoveDotSegments(std::string_view path)
{
    std::string out;
    out.reserve(path.size());
    size_t i = 0;
    while (i < path.size()) {
        std::string_view rest = path.substr(i);
        if (rest.starts_with("../")) {
            i += 3;
        } else if (rest.starts_with("./")) {
            i += 2;
        } else if (rest.starts_with("/./")) {
            i += 2;
        } else if (rest == "/.") {
            out += '/';
            i = path.size();
        } else if (rest.starts_with("/../")) {
            DropLastSegment(out);
            i += 3;
        } else if (rest == "/..") {
            DropLastSegment(out);
            out += '/';
            i = path.size();
        } else if (rest == "." || rest == "..") {
            i = path.size();
        } else {
            size_t end = path.find('/', i + (rest[0] == '/' ? 1 : 0));
            end = end == npos ? path.size() : end;
            out.append(path.substr(i, end - i));
            i = end;
        }
    }
    return out;
}

// Every well-formed percent escape decoded once; a "%" that does not start two
// hexadecimal digits stays as it is.
void AppendDecoded(std::string& out, std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int high = HexValue(text[i + 1]);
            int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
}

// RFC 3986 section 5.2.3.
std::string Merge(const UrlParts& base, std::string_view path)
{
    if (base.hasAuthority && base.path.empty())
        return "/" + std::string(path);
    size_t slash = base.path.rfind('/');
    if (slash == npos)
        return std::string(path);
    std::string merged(base.path.substr(0, slash + 1));
    merged.append(path);
    return merged;
}

// The first of a few delimiters from start on. A plain loop: find_first_of runs one
// memchr per character, which costs the link scanner a fifth of its time.
size_t FirstOf(std::string_view text, std::string_view set, size_t start)
{
    for (size_t i = start; i < text.size(); ++i)
        for (char c : set)
            if (text[i] == c)
                return i;
    return npos;
}

}  // namespace

UrlParts SplitUrl(std::string_view text)
{
    UrlParts parts;
    size_t i = 0;
    size_t colon = FirstOf(text, ":/?#", 0);
    if (colon != npos && text[colon] == ':' && IsScheme(text.substr(0, colon))) {
        parts.scheme = text.substr(0, colon);
        parts.hasScheme = true;
        i = colon + 1;
    }
    if (text.substr(i).starts_with("//")) {
        size_t end = FirstOf(text, "/?#", i + 2);
        end = end == npos ? text.size() : end;
        parts.authority = text.substr(i + 2, end - i - 2);
        parts.hasAuthority = true;
        i = end;
    }
    size_t end = FirstOf(text, "?#", i);
    end = end == npos ? text.size() : end;
    parts.path = text.substr(i, end - i);
    i = end;
    if (i < text.size() && text[i] == '?') {
        end = text.find('#', i + 1);
        end = end == npos ? text.size() : end;
        parts.query = text.substr(i + 1, end - i - 1);
        parts.hasQuery = true;
        i = end;
    }
    if (i < text.size()) {
        parts.fragment = text.substr(i + 1);
        parts.hasFragment = true;
    }
    return parts;
}

std::string ComposeUrl(const UrlParts& parts)
{
    std::string out;
    out.reserve(parts.scheme.size() + parts.authority.size() + parts.path.size() +
                parts.query.size() + parts.fragment.size() + 5);
    if (parts.hasScheme) {
        out.append(parts.scheme);
        out += ':';
    }
    if (parts.hasAuthority) {
        out += "//";
        out.append(parts.authority);
    }
    out.append(parts.path);
    if (parts.hasQuery) {
        out += '?';
        out.append(parts.query);
    }
    if (parts.hasFragment) {
        out += '#';
        out.append(parts.fragment);
    }
    return out;
}

bool ResolveReference(std::string_view base, std::string_view reference, std::string& target)
{
    UrlParts r = SplitUrl(reference);
    UrlParts t = r;
    std::string path;
    if (r.hasScheme) {
        path = RemoveDotSegments(r.path);
    } else {
        UrlParts b = SplitUrl(base);
        if (!b.hasScheme)
            return false;
        if (r.hasAuthority) {
            path = RemoveDotSegments(r.path);
        } else {
            if (r.path.empty()) {
                path = std::string(b.path);
                if (!r.hasQuery) {
                    t.query = b.query;
                    t.hasQuery = b.hasQuery;
                }
            } else if (r.path[0] == '/') {
                path = RemoveDotSegments(r.path);
            } else {
                path = RemoveDotSegments(Merge(b, r.path));
            }
            t.authority = b.authority;
            t.hasAuthority = b.hasAuthority;
        }
        t.scheme = b.scheme;
        t.hasScheme = true;
    }
    t.path = path;
    target = ComposeUrl(t);
    return true;
}

std::string CanonicalUrl(std::string_view text)
{
    UrlParts parts = SplitUrl(text);
    std::string out;
    out.reserve(text.size() + 1);
    if (parts.hasScheme) {
        AppendLower(out, parts.scheme);
        out += ':';
    }
    if (parts.hasAuthority) {
        out += "//";
        AppendAuthority(out, parts.authority);
    }
    // Dot segments go before decoding: an escaped ".." stays in the text as "..", and
    // Turl::LocalPath refuses such a path instead of storing it as some other page.
    bool hierarchical = parts.hasScheme || parts.hasAuthority || parts.path.starts_with('/');
    if (parts.path.empty() && parts.hasAuthority)
        out += '/';
    else if (hierarchical)
        AppendDecoded(out, RemoveDotSegments(parts.path));
    else
        AppendDecoded(out, parts.path);
    if (parts.hasQuery) {
        out += '?';
        AppendDecoded(out, parts.query);
    }
    if (parts.hasFragment) {
        out += '#';
        AppendDecoded(out, parts.fragment);
    }
    return out;
}
