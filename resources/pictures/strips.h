#pragma once

#include <QImage>

// The toolbar animation shown while a site is grabbed: 16 frames of 60 x 52 side by side.
QImage DrawGrabAnimation();

// The browser page's animation shown while a page is sent: 3 frames of 27 x 27.
QImage DrawSendAnimation();
