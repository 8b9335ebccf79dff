#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRegion>
#include <array>

#include "pictures/icofile.h"
#include "support/tempfolder.h"

namespace {

const QString kSystem = QStringLiteral(ZANVIK_BIN_DIR "/system/");

// The rectangles the main window lays its picture buttons over.
const std::array<QRect, 5> kFaces{{{13, 1, 50, 61}, {72, 1, 52, 61}, {132, 1, 52, 61}, {191, 1, 56, 61},
                                   {543, 2, 56, 61}}};

QImage Load(const QString& name)
{
    QImageReader reader(kSystem + name);
    const QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << name.toStdString() << ": " << reader.errorString().toStdString();
    return image.convertToFormat(QImage::Format_RGB32);
}

// The smallest rectangle holding every pixel where the two pictures differ inside area.
QRect Difference(const QImage& a, const QImage& b, const QRect& area)
{
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                found |= QRect(x, y, 1, 1);
    return found;
}

struct Expected {
    const char* name;
    int width;
    int height;
};

void PrintTo(const Expected& expected, std::ostream* out)
{
    *out << expected.name;
}

class PictureSize : public ::testing::TestWithParam<Expected> {};

TEST_P(PictureSize, LoadsWithTheStatedSize)
{
    const Expected expected = GetParam();
    ASSERT_TRUE(QFile::exists(kSystem + expected.name)) << expected.name;
    const QImage image = Load(expected.name);
    EXPECT_EQ(image.size(), QSize(expected.width, expected.height)) << expected.name;
    QImageReader reader(kSystem + expected.name);
    EXPECT_EQ(reader.format(), "bmp") << expected.name;
}

INSTANTIATE_TEST_SUITE_P(SystemFolder, PictureSize,
                         ::testing::Values(Expected{"normal.bmp", 793, 65}, Expected{"down.bmp", 793, 65},
                                           Expected{"up.bmp", 793, 65}, Expected{"focus.bmp", 793, 65},
                                           Expected{"right2.bmp", 16, 16}, Expected{"wrong.bmp", 16, 16},
                                           Expected{"cross.bmp", 16, 16}, Expected{"info.bmp", 16, 16},
                                           Expected{"clock.bmp", 48, 48}, Expected{"about.bmp", 400, 260},
                                           Expected{"animate.bmp", 16 * 60, 52},
                                           Expected{"browse.bmp", 3 * 27, 27}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(Toolbar, StatesChangeOnlyTheFaceRectangles)
{
    const QImage normal = Load("normal.bmp");
    QRegion faces;
    for (const QRect& face : kFaces)
        faces |= face;
    for (const char* name : {"down.bmp", "up.bmp", "focus.bmp"}) {
        const QImage state = Load(name);
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                if (!faces.contains(QPoint(x, y))) {
                    ASSERT_EQ(normal.pixel(x, y), state.pixel(x, y)) << name << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(Toolbar, EveryStateFillsEachFace)
{
    const QImage normal = Load("normal.bmp");
    const QImage states[] = {Load("down.bmp"), Load("up.bmp"), Load("focus.bmp")};
    for (const QRect& face : kFaces) {
        for (const QImage& state : states) {
            // The plate of a pressed, raised or hovered face reaches to within a few pixels
            // of every edge, so the drawn face lies on the button's bounds.
            const QRect changed = Difference(normal, state, face);
            EXPECT_GE(changed.width(), face.width() - 4) << face.x();
            EXPECT_GE(changed.height(), face.height() - 4) << face.x();
        }
        EXPECT_FALSE(Difference(states[0], states[1], face).isEmpty()) << face.x();
        EXPECT_FALSE(Difference(states[1], states[2], face).isEmpty()) << face.x();
        EXPECT_FALSE(Difference(states[0], states[2], face).isEmpty()) << face.x();
    }
}

TEST(Toolbar, WordsAreCentredUnderTheirPictures)
{
    const QImage normal = Load("normal.bmp");
    for (const QRect& face : kFaces) {
        // The words are the only light ink in the band below the picture.
        QRect ink;
        for (int y = face.top() + 38; y < face.top() + 56; ++y)
            for (int x = face.left(); x <= face.right(); ++x)
                if (qGray(normal.pixel(x, y)) > 170)
                    ink |= QRect(x, y, 1, 1);
        ASSERT_TRUE(ink.isValid()) << face.x();
        EXPECT_GE(ink.height(), 9) << face.x();
        EXPECT_LE(qAbs((ink.left() - face.left()) - (face.right() - ink.right())), 2) << face.x();
    }
}

// Every frame of a strip is drawn and differs from the next one.
void ExpectMovingStrip(const QImage& strip, int frameWidth, int frames)
{
    ASSERT_EQ(strip.width(), frameWidth * frames);
    for (int frame = 0; frame < frames; ++frame) {
        const QRect current(frame * frameWidth, 0, frameWidth, strip.height());
        const QRect next(((frame + 1) % frames) * frameWidth, 0, frameWidth, strip.height());
        EXPECT_NE(strip.copy(current), strip.copy(next)) << "frame " << frame;
    }
}

TEST(Animations, FramesFollowOneAnother)
{
    ExpectMovingStrip(Load("animate.bmp"), 60, 16);
    ExpectMovingStrip(Load("browse.bmp"), 27, 3);
}

TEST(StatusMarks, DrawnOnWhiteAndDistinct)
{
    const QImage marks[] = {Load("right2.bmp"), Load("wrong.bmp"), Load("cross.bmp")};
    for (const QImage& mark : marks) {
        EXPECT_EQ(mark.pixel(0, 0), qRgb(255, 255, 255));
        EXPECT_EQ(mark.pixel(15, 15), qRgb(255, 255, 255));
        int inked = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                inked += qGray(mark.pixel(x, y)) < 200 ? 1 : 0;
        EXPECT_GE(inked, 12);
    }
    EXPECT_NE(marks[0], marks[1]);
    EXPECT_NE(marks[1], marks[2]);
    EXPECT_NE(marks[0], marks[2]);
}

TEST(TaskBarIcons, EachHoldsThreeSizesAndTheFramesMove)
{
    QList<QImage> largest;
    for (int number = 1; number <= 4; ++number) {
        const QString path = kSystem + QStringLiteral("icon%1.ico").arg(number);
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), "ico");
        EXPECT_EQ(reader.imageCount(), 3) << path.toStdString();
        const QIcon icon(path);
        const QList<QSize> sizes = icon.availableSizes();
        for (const int size : {16, 32, 48})
            EXPECT_TRUE(sizes.contains(QSize(size, size))) << path.toStdString() << " lacks " << size;
        const QImage image = icon.pixmap(QSize(48, 48)).toImage();
        ASSERT_EQ(image.size(), QSize(48, 48));
        // The corners of the icon are see-through.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(24, 24)), 255);
        largest.append(image);
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(largest[i], largest[(i + 1) % 4]) << "icon " << i + 1;
}

TEST(IconFile, KeepsColoursTransparencyAndEverySize)
{
    TempFolder folder(TempFolder::Use::Plain);
    QList<QImage> images;
    for (const int size : {16, 33, 256}) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 0; y < size / 2; ++y)
            for (int x = 0; x < size; ++x)
                image.setPixel(x, y, qRgba(200, 40 + x % 100, 10, 255));
        image.setPixel(size - 1, size - 1, qRgba(0, 0, 255, 255));
        images.append(image);
    }
    const QString path = QString::fromStdString(folder / "test.ico");
    WriteIconFile(path, images);
    QImageReader reader(path);
    ASSERT_EQ(reader.imageCount(), 3);
    for (const QImage& written : images) {
        const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(read.size(), written.size());
        EXPECT_EQ(read, written) << written.width();
        reader.jumpToNextImage();
    }
}

TEST(DesktopIcon, ThreeSizesOfTheSameMark)
{
    for (const int size : {48, 128, 256}) {
        const QString path =
            QStringLiteral(ZANVIK_BIN_DIR "/../share/icons/hicolor/%1x%1/apps/zanvik.png").arg(size);
        const QImage image(path);
        ASSERT_FALSE(image.isNull()) << path.toStdString();
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_TRUE(image.hasAlphaChannel());
    }
}

TEST(Generator, StopsWithAClearMessageWithoutItsFont)
{
    TempFolder folder(TempFolder::Use::Plain);
    folder.Write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
    QProcess generator;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("FONTCONFIG_FILE", QString::fromStdString(folder / "fonts.conf"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    generator.setProcessEnvironment(environment);
    generator.start(ZANVIK_PICTURES_TOOL,
                    {QString::fromStdString(folder / "system"), QString::fromStdString(folder / "icons")});
    ASSERT_TRUE(generator.waitForFinished(60000));
    EXPECT_NE(generator.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(generator.readAllStandardError()).contains("fonts-noto-cjk"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder / "system/normal.bmp")));
}

} // namespace
