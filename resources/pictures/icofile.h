#pragma once

#include <QList>
#include <QImage>
#include <QString>

// Writes one icon file holding every image given (32-bit with alpha, up to 256 pixels).
// Qt's own writer keeps a single image, and the task-bar icon needs several sizes.
void WriteIconFile(const QString& path, const QList<QImage>& images);
