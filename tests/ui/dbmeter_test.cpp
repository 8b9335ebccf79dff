#include <map>

#include <gtest/gtest.h>

#include "ui/dbmeter.h"

namespace {

const QColor kLime(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kFace(212, 208, 200);
const QColor kGrey(128, 128, 128);
const QColor kWhite(255, 255, 255);
const QColor kSilver(192, 192, 192);

// One of the main window's five status-bar meters.
void MakeStatusMeter(Tdbmeter& meter)
{
    meter.resize(64, 17);
    meter.SetGreens(32);
    meter.SetYellows(16);
    meter.SetReds(16);
    meter.SetGreenMax(32);
    meter.SetYellowMax(16);
    meter.SetRedMax(16);
    meter.SetGreenBack(kFace);
    meter.SetYellowBack(kFace);
    meter.SetRedBack(kFace);
    meter.SetSepWidth(0);
}

QColor Pixel(const Tdbmeter& meter, int x, int y)
{
    return meter.Bitmap().pixelColor(x, y);
}

int LitAt(Tdbmeter& meter, int position)
{
    meter.SetPosition(position);
    return meter.LitCount();
}

TEST(DbMeter, StatusMeterLightsOneSegmentPerPositionAcrossItsZones)
{
    Tdbmeter meter;
    MakeStatusMeter(meter);
    std::map<int, int> expected = {{0, 0}, {1, 1}, {31, 31}, {32, 32}, {33, 33}, {40, 40},
                                   {48, 48}, {49, 49}, {63, 63}, {64, 64}, {65, 64}, {1000, 64}};
    for (auto [position, lit] : expected)
        EXPECT_EQ(LitAt(meter, position), lit) << "position " << position;
}

TEST(DbMeter, RoundsHalvesToTheEvenNeighbour)
{
    Tdbmeter meter;
    meter.SetGreens(5);
    meter.SetGreenMax(10);
    EXPECT_EQ(LitAt(meter, 3), 2);  // 1.5
    EXPECT_EQ(LitAt(meter, 5), 2);  // 2.5
    EXPECT_EQ(LitAt(meter, 7), 4);  // 3.5
    EXPECT_EQ(LitAt(meter, 9), 4);  // 4.5
    EXPECT_EQ(LitAt(meter, 1), 1);  // 0.5 rounds to 0, and a position above 0 lights one
    Tdbmeter standard;  // 3 / 2 / 1 segments over 50 / 25 / 25
    EXPECT_EQ(LitAt(standard, 25), 2);  // 1.5, computed exactly
    EXPECT_EQ(LitAt(standard, 50), 3);
}

TEST(DbMeter, AZoneLightsItsFirstSegmentAsSoonAsThePositionEntersIt)
{
    Tdbmeter meter;  // 3 / 2 / 1 segments over 50 / 25 / 25
    EXPECT_EQ(LitAt(meter, 51), 4);
    EXPECT_EQ(LitAt(meter, 75), 5);
    EXPECT_EQ(LitAt(meter, 76), 6);
    EXPECT_EQ(LitAt(meter, 99), 6);
}

TEST(DbMeter, EmptyZonesAreSkipped)
{
    Tdbmeter noYellow;
    noYellow.SetYellows(0);
    noYellow.SetReds(2);
    EXPECT_EQ(LitAt(noYellow, 50), 3);
    EXPECT_EQ(LitAt(noYellow, 51), 4);  // straight from green into red
    EXPECT_EQ(LitAt(noYellow, 75), 5);

    Tdbmeter noGreen;
    noGreen.SetGreens(0);
    EXPECT_EQ(LitAt(noGreen, 0), 0);
    EXPECT_EQ(LitAt(noGreen, 1), 1);
    EXPECT_EQ(LitAt(noGreen, 13), 1);
    EXPECT_EQ(LitAt(noGreen, 25), 2);

    Tdbmeter noRed;
    noRed.SetReds(0);
    EXPECT_EQ(LitAt(noRed, 80), 5);
}

TEST(DbMeter, DrawsLitAndUnlitSegmentsInTheirZoneColours)
{
    Tdbmeter meter;
    MakeStatusMeter(meter);
    // Segment i covers column i - 1; column 0 and 63 belong to the lowered frame.
    for (int x = 1; x < 63; ++x)
        EXPECT_EQ(Pixel(meter, x, 8), kFace) << "column " << x;

    meter.SetPosition(32);
    EXPECT_EQ(Pixel(meter, 31, 8), kLime);
    EXPECT_EQ(Pixel(meter, 32, 8), kFace);

    meter.SetPosition(33);
    EXPECT_EQ(Pixel(meter, 31, 8), kLime);
    EXPECT_EQ(Pixel(meter, 32, 8), kYellow);
    EXPECT_EQ(Pixel(meter, 33, 8), kFace);

    meter.SetPosition(64);
    EXPECT_EQ(Pixel(meter, 1, 8), kLime);
    EXPECT_EQ(Pixel(meter, 47, 8), kYellow);
    EXPECT_EQ(Pixel(meter, 48, 8), kRed);
    EXPECT_EQ(Pixel(meter, 62, 8), kRed);
    // The widget paints what it drew.
    QImage shown = meter.grab().toImage();
    EXPECT_EQ(shown.pixelColor(48, 8), kRed);
    EXPECT_EQ(shown.pixelColor(63, 8), kWhite);
}

TEST(DbMeter, ShowJustOneLightsOnlyTheLastLitSegment)
{
    Tdbmeter meter;
    MakeStatusMeter(meter);
    meter.SetShowJustOne(true);
    meter.SetPosition(10);
    EXPECT_EQ(Pixel(meter, 9, 8), kLime);
    EXPECT_EQ(Pixel(meter, 8, 8), kFace);
    EXPECT_EQ(Pixel(meter, 10, 8), kFace);
    EXPECT_EQ(Pixel(meter, 1, 8), kFace);
}

TEST(DbMeter, BevelWidthZeroOrTooLargeDrawsOnePixel)
{
    Tdbmeter meter;
    MakeStatusMeter(meter);
    meter.SetPosition(64);
    meter.SetBevelWidth(0);
    EXPECT_EQ(meter.BevelWidth(), 1);
    EXPECT_EQ(Pixel(meter, 0, 8), kGrey);   // left, lowered
    EXPECT_EQ(Pixel(meter, 8, 0), kGrey);   // top
    EXPECT_EQ(Pixel(meter, 63, 8), kWhite); // right
    EXPECT_EQ(Pixel(meter, 8, 16), kWhite); // bottom
    EXPECT_EQ(Pixel(meter, 1, 8), kLime);

    meter.SetBevelWidth(9);  // more than a third of 17
    EXPECT_EQ(Pixel(meter, 0, 8), kGrey);
    EXPECT_EQ(Pixel(meter, 1, 8), kLime);
    EXPECT_EQ(Pixel(meter, 62, 8), kRed);

    meter.SetBevelWidth(5);  // fits: five pixels of frame
    EXPECT_EQ(Pixel(meter, 4, 8), kGrey);
    EXPECT_EQ(Pixel(meter, 5, 8), kLime);
    EXPECT_EQ(Pixel(meter, 59, 8), kWhite);
    EXPECT_EQ(Pixel(meter, 58, 8), kRed);

    meter.SetBevelWidth(1);
    meter.SetBevelStyle(TBevelStyle::bvRaised);
    EXPECT_EQ(Pixel(meter, 0, 8), kWhite);
    EXPECT_EQ(Pixel(meter, 63, 8), kGrey);

    meter.SetBevelStyle(TBevelStyle::bvNone);
    EXPECT_EQ(Pixel(meter, 0, 8), kLime);
}

TEST(DbMeter, SeparatorsAndTheLastLineKeepTheSeparatorColour)
{
    Tdbmeter meter;  // 6 segments of 10 pixels, separators 1 pixel wide
    meter.resize(60, 17);
    meter.SetBevelStyle(TBevelStyle::bvNone);
    meter.SetPosition(100);
    EXPECT_EQ(Pixel(meter, 8, 8), kLime);
    EXPECT_EQ(Pixel(meter, 9, 8), kSilver);
    EXPECT_EQ(Pixel(meter, 10, 8), kLime);
    EXPECT_EQ(Pixel(meter, 5, 16), kSilver);

    meter.SetSepWidth(10);  // as wide as a segment: no segments at all
    EXPECT_EQ(Pixel(meter, 5, 8), kSilver);
}

TEST(DbMeter, VerticalMetersRunDownOrUp)
{
    Tdbmeter meter;  // 6 segments of 10 pixels down a 60 pixel column
    meter.resize(20, 60);
    meter.SetStyle(Tdbmeterstyle::dsVertical);
    meter.SetBevelStyle(TBevelStyle::bvNone);
    meter.SetSepWidth(0);
    meter.SetPosition(50);  // the three green segments
    EXPECT_EQ(Pixel(meter, 5, 5), kLime);
    EXPECT_EQ(Pixel(meter, 5, 29), kLime);
    EXPECT_EQ(Pixel(meter, 5, 30), kGrey);
    EXPECT_EQ(Pixel(meter, 19, 5), kSilver);  // the full width less one pixel

    meter.SetDirection(tdbmeterdirection::ddLeftUp);
    EXPECT_EQ(Pixel(meter, 5, 59), kLime);
    EXPECT_EQ(Pixel(meter, 5, 30), kLime);
    EXPECT_EQ(Pixel(meter, 5, 29), kGrey);
    EXPECT_EQ(Pixel(meter, 5, 0), kGrey);
}

TEST(DbMeter, MirroredHorizontalMeterStartsAtTheRight)
{
    Tdbmeter meter;
    MakeStatusMeter(meter);
    meter.SetBevelStyle(TBevelStyle::bvNone);
    meter.SetDirection(tdbmeterdirection::ddLeftUp);
    meter.SetPosition(2);
    EXPECT_EQ(Pixel(meter, 63, 8), kLime);
    EXPECT_EQ(Pixel(meter, 62, 8), kLime);
    EXPECT_EQ(Pixel(meter, 61, 8), kFace);
    EXPECT_EQ(Pixel(meter, 0, 8), kFace);
}

}  // namespace
