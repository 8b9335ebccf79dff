#pragma once

#include <string>

// The RFC 1123 date of a moment given as UTC seconds since 1970:
// "Sun, 06 Nov 1994 08:49:37 GMT".
std::string Rfc1123Date(long long utcSeconds);

// Whether the server's Last-Modified text is not earlier than the stored file's date text.
// Texts of different lengths (a missing value, another date form) count as newer.
bool ServerIsNewer(const std::string& stored, const std::string& lastModified);
