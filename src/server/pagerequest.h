#pragma once

#include <string>

// What the page server takes from the bytes of a browser's request. Browsers speak to it
// as to a proxy, so the request line carries the absolute URL of the page.

// The text before the first CR LF; empty when the data holds none.
std::string FirstLine(const std::string& data);

// The characters after the first "GET " up to the next blank; without "GET ", the same from
// the fourth character on (a "POST" line gives "T..."). Empty when no blank follows.
std::string RequestTarget(const std::string& firstLine);

// The stored file and the URL a worker answers with.
struct TPageRequest {
    std::string RelativePath;  // store path relative to the program folder; empty when not stored
    std::string PageURL;       // shown in the error pages and fetched live
};

// A target with a store path on a cached host names that file and its canonical URL. One
// that cannot be stored keeps the target as received; one on a host missing from the host
// cache names no file, since its store path would lie outside every site folder.
TPageRequest PageRequestOf(const std::string& target);
