#include "support/testbitmap.h"

std::string TestBitmap(int width, int height)
{
    const int row = (width * 3 + 3) & ~3;
    std::string bytes = "BM";
    auto put = [&bytes](unsigned value, int size) {
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(54 + row * height, 4), put(0, 4), put(54, 4);
    put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(24, 2);
    put(0, 4), put(row * height, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    bytes += std::string(static_cast<size_t>(row * height), '\x60');
    return bytes;
}
