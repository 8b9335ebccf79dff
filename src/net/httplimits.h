#pragma once

#include <cstddef>

// The most bytes of an HTTP answer's header that are read: a longer one is refused, so
// that a server cannot make the program hold an endless header.
inline constexpr size_t MaxHeaderBytes = 64 * 1024;
