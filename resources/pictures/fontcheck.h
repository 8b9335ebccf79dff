#pragma once

#include <QString>

// The family every picture draws its words in.
QString ChineseFontFamily();

// Throws with a message naming the missing font and the package that brings it, so that
// the build stops instead of drawing empty boxes for every Chinese word.
void RequireChineseFont();
