#pragma once

#include <string>

// A 24-bit bitmap file of width x height in one grey: no checksum and no compression to
// get wrong, so a browser that shows it with its size has had every byte.
std::string TestBitmap(int width, int height);
