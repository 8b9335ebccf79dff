// Draws every picture the program loads from its "system" folder, and the desktop icon.
// Run by the build: zanvik-pictures SYSTEM_FOLDER ICON_THEME_FOLDER

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <exception>
#include <iostream>

#include "about.h"
#include "fontcheck.h"
#include "icofile.h"
#include "logo.h"
#include "marks.h"
#include "painting.h"
#include "picturefile.h"
#include "strips.h"
#include "toolbar.h"

namespace {

QImage LogoImage(int size, int phase)
{
    QImage image = NewPicture(size, size, Qt::transparent);
    QPainter painter(&image);
    PreparePainter(painter);
    DrawLogo(painter, QRectF(0, 0, size, size), phase);
    return image;
}

void MakeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        throw std::runtime_error("無法建立資料夾 " + path.toStdString());
}

void WriteSystemPictures(const QString& folder)
{
    MakeFolder(folder);
    const auto bmp = [&folder](const QImage& image, const char* name) {
        SavePicture(image, folder + '/' + QLatin1String(name), "BMP");
    };
    bmp(DrawToolbar(FaceState::Normal), "normal.bmp");
    bmp(DrawToolbar(FaceState::Pressed), "down.bmp");
    bmp(DrawToolbar(FaceState::Raised), "up.bmp");
    bmp(DrawToolbar(FaceState::Hover), "focus.bmp");
    bmp(DrawTickMark(), "right2.bmp");
    bmp(DrawFailureMark(), "wrong.bmp");
    bmp(DrawCrossMark(), "cross.bmp");
    bmp(DrawInfoMark(), "info.bmp");
    bmp(DrawClockPicture(), "clock.bmp");
    bmp(DrawGrabAnimation(), "animate.bmp");
    bmp(DrawSendAnimation(), "browse.bmp");
    bmp(DrawAboutPicture(), "about.bmp");
    for (int phase = 0; phase < 4; ++phase)
        WriteIconFile(folder + QStringLiteral("/icon%1.ico").arg(phase + 1),
                      {LogoImage(16, phase), LogoImage(32, phase), LogoImage(48, phase)});
}

void WriteDesktopIcons(const QString& theme)
{
    for (const int size : {48, 128, 256}) {
        const QString folder = theme + QStringLiteral("/%1x%1/apps").arg(size);
        MakeFolder(folder);
        SavePicture(LogoImage(size, 0), folder + QStringLiteral("/zanvik.png"), "PNG");
    }
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::cerr << "用法: zanvik-pictures 系統圖片資料夾 圖示資料夾\n";
        return 2;
    }
    try {
        RequireChineseFont();
        WriteSystemPictures(QString::fromLocal8Bit(argv[1]));
        WriteDesktopIcons(QString::fromLocal8Bit(argv[2]));
    } catch (const std::exception& error) {
        std::cerr << "zanvik-pictures: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
