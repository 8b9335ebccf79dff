#pragma once

#include <string>

// The pages the server answers with when it has no page to give. Each begins with an
// "HTTP/1.0 200 OK" status line, so the browser shows it as an ordinary page; the Chinese
// text is in Big5 and PageURL goes in as it is, without escaping.
enum class TErrorPage {
    NotStored,       // the page is not in the store
    NoNetwork,       // the connection for a live fetch could not be made
    DownloadFailed,  // the live fetch failed
};

// The whole page, as the bytes that go out.
std::string ErrorPage(TErrorPage kind, const std::string& PageURL);
