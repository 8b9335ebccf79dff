#include "ui/statuspictures.h"


#include "ui/systempicture.h"

namespace {

QSize Largest(std::initializer_list<const QImage*> pictures)
{
    QSize size(0, 0);
    for (const QImage* picture : pictures)
        size = size.expandedTo(picture->size());
    return size;
}

}  // namespace

TStatusPictures TStatusPictures::Load()
{
    return {SystemImage("right2.bmp"), SystemImage("wrong.bmp"), SystemImage("cross.bmp")};
}

QSize TStatusPictures::LargestOfAll() const
{
    return Largest({&tick, &failure, &cross});
}

QSize TStatusPictures::LargestOfTwo() const
{
    return Largest({&tick, &failure});
}

const QImage* TStatusPictures::ForStatusCode(int code) const
{
    switch (code) {
    case 1:
        return &tick;
    case 2:
        return &failure;
    case 3:
        return &cross;
    default:
        return nullptr;
    }
}
