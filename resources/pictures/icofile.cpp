#include "icofile.h"

#include <QByteArray>
#include <QSaveFile>
#include <stdexcept>

namespace {

void PutWord(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xff));
    out.append(char(value >> 8));
}

void PutLong(QByteArray& out, quint32 value)
{
    PutWord(out, quint16(value & 0xffff));
    PutWord(out, quint16(value >> 16));
}

int MaskStride(int width)
{
    return ((width + 31) / 32) * 4;
}

// The device-independent bitmap of one entry: its header counts the height twice, for
// the colour rows and the transparency mask rows that follow them, both bottom up.
QByteArray EntryBitmap(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int maskStride = MaskStride(width);
    QByteArray out;
    PutLong(out, 40);
    PutLong(out, quint32(width));
    PutLong(out, quint32(height * 2));
    PutWord(out, 1);
    PutWord(out, 32);
    PutLong(out, 0);
    PutLong(out, quint32(width * height * 4 + maskStride * height));
    for (int i = 0; i < 4; ++i)
        PutLong(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            PutLong(out, line[x]);
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray mask(maskStride, '\0');
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            if (qAlpha(line[x]) == 0)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        out.append(mask);
    }
    return out;
}

} // namespace

void WriteIconFile(const QString& path, const QList<QImage>& images)
{
    QByteArray out;
    PutWord(out, 0);
    PutWord(out, 1);
    PutWord(out, quint16(images.size()));
    QList<QByteArray> bitmaps;
    for (const QImage& image : images) {
        if (image.width() > 256 || image.height() > 256)
            throw std::runtime_error("圖示太大: " + path.toStdString());
        bitmaps.append(EntryBitmap(image));
    }
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        out.append(char(images[i].width() % 256));
        out.append(char(images[i].height() % 256));
        out.append(char(0));
        out.append(char(0));
        PutWord(out, 1);
        PutWord(out, 32);
        PutLong(out, quint32(bitmaps[i].size()));
        PutLong(out, offset);
        offset += quint32(bitmaps[i].size());
    }
    for (const QByteArray& bitmap : bitmaps)
        out.append(bitmap);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw std::runtime_error("無法寫入 " + path.toStdString() + ": " + file.errorString().toStdString());
}
