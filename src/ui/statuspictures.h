#pragma once

#include <QImage>
#include <QSize>

// The three marks of the lists' status cells, from "system/": a tick (right2.bmp), a
// failure mark (wrong.bmp) and a cross (cross.bmp).
struct TStatusPictures {
    QImage tick;
    QImage failure;
    QImage cross;

    static TStatusPictures Load();
    // The largest width and the largest height of the three.
    QSize LargestOfAll() const;
    // The same of the tick and the failure mark.
    QSize LargestOfTwo() const;
    // The schedule's mark for a status code: 1 tick, 2 failure, 3 cross, none otherwise.
    const QImage* ForStatusCode(int code) const;
};
