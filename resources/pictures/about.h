#pragma once

#include <QImage>

// The about box picture, 400 x 260: the mark, the name and what the program is for.
QImage DrawAboutPicture();
