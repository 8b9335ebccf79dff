#pragma once

#include <QImage>

// The 16 x 16 status marks of the grids, drawn on the white of a grid cell.
QImage DrawTickMark();
QImage DrawFailureMark();
QImage DrawCrossMark();

// The 16 x 16 information sign of the small help buttons, on the window colour.
QImage DrawInfoMark();

// The missed-time dialog's 48 x 48 picture: a clock with a download badge.
QImage DrawClockPicture();
