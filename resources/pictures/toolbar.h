#pragma once

#include <QImage>

// How a face of the toolbar is shown: at rest, under the pointer, held down, or raised as
// the page that is open.
enum class FaceState { Normal, Hover, Pressed, Raised };

// The toolbar picture, 793 x 65. The program copies only the five face rectangles from
// the pressed, raised and hover pictures, so everything else is the same in all four.
QImage DrawToolbar(FaceState state);
