#include "picturefile.h"

#include <QSaveFile>
#include <stdexcept>

void SavePicture(const QImage& image, const QString& path, const char* format)
{
    // Bitmaps carry no transparency: the pictures are opaque and saved as plain colour.
    const QImage stored =
        qstrcmp(format, "BMP") == 0 ? image.convertToFormat(QImage::Format_RGB32) : image;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !stored.save(&file, format) || !file.commit())
        throw std::runtime_error("無法寫入圖片 " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
}
