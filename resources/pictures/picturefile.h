#pragma once

#include <QImage>
#include <QString>

// Saves the picture in the given format ("BMP", "PNG"), replacing the file at once so a
// stopped build never leaves half a picture; throws with the path when it cannot.
void SavePicture(const QImage& image, const QString& path, const char* format);
