#pragma once

#include <QFont>

// The program's fonts. The windows were laid out for Times New Roman 15 px and MS Sans
// Serif; Liberation Serif and Liberation Sans have the same metrics, and the Noto CJK faces
// draw the Chinese characters that the Liberation faces lack.
QFont SerifFont(int pixelSize);
QFont SansFont(int pixelSize);

// Makes the serif face at 15 px the application's font; called by every program and test
// that shows a window, after the application object exists.
void UseProgramFonts();
