#pragma once

#include <string>

#include <QImage>
#include <QPixmap>

// A picture of the program's "system/" folder, such as "about.bmp". A picture that is
// missing or unreadable comes back null (and is named on the console), so that the window
// still opens without it.
QPixmap SystemPicture(const std::string& name);
QImage SystemImage(const std::string& name);
