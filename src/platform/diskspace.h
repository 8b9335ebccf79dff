#pragma once

#include <cstdint>
#include <string>

// Bytes free for an ordinary user on the file system that holds path; -1 when unknown.
std::int64_t FreeDiskBytes(const std::string& path);
