#include "ui/programfonts.h"

#include <QApplication>

namespace {

QFont FontOf(const QStringList& families, int pixelSize)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace

QFont SerifFont(int pixelSize)
{
    return FontOf({"Liberation Serif", "Noto Serif CJK TC"}, pixelSize);
}

QFont SansFont(int pixelSize)
{
    return FontOf({"Liberation Sans", "Noto Sans CJK TC"}, pixelSize);
}

void UseProgramFonts()
{
    QApplication::setFont(SerifFont(15));
}
