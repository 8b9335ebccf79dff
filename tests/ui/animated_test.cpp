#include <vector>

#include <QElapsedTimer>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/animated.h"

namespace {

const std::vector<QColor> kFrameColours = {Qt::red, Qt::green, Qt::blue, Qt::yellow};

// Four frames of 10 x 8, one colour each, with a magenta corner.
QPixmap Strip()
{
    QPixmap strip(40, 8);
    QPainter painter(&strip);
    for (int i = 0; i < 4; ++i) {
        painter.fillRect(10 * i, 0, 10, 8, kFrameColours[static_cast<size_t>(i)]);
        painter.fillRect(10 * i, 0, 2, 2, Qt::magenta);
    }
    return strip;
}

class AnimatedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        animation.resize(10, 30);
        animation.SetBitMap(Strip());
        animation.SetFrameCount(4);
        animation.OnChangeFrame = [this](TAnimated* sender) {
            EXPECT_EQ(sender, &animation);
            frames.push_back(sender->Frame());
        };
    }

    QColor Shown(int x, int y) { return animation.grab().toImage().pixelColor(x, y); }

    TAnimated animation;
    std::vector<int> frames;
};

TEST_F(AnimatedTest, ShowsTheCurrentFrameOfTheStripAtItsHeight)
{
    EXPECT_EQ(animation.height(), 8);
    EXPECT_EQ(Shown(5, 5), QColor(Qt::red));
    animation.SetFrame(2);
    EXPECT_EQ(Shown(5, 5), QColor(Qt::blue));
    EXPECT_EQ(Shown(0, 0), QColor(Qt::magenta));
}

TEST_F(AnimatedTest, TransparentColourShowsTheBackground)
{
    QPalette palette = animation.palette();
    palette.setColor(animation.backgroundRole(), QColor(10, 20, 30));
    animation.setPalette(palette);
    animation.SetTransparentColor(Qt::magenta);
    EXPECT_EQ(Shown(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(Shown(5, 5), QColor(Qt::red));
}

TEST_F(AnimatedTest, AnEmptyStripShowsWhite)
{
    TAnimated empty;
    EXPECT_EQ(empty.height(), 30);
    empty.SetBitMap(QPixmap());
    EXPECT_EQ(empty.height(), 30);
    EXPECT_EQ(empty.grab().toImage().pixelColor(15, 15), QColor(Qt::white));
}

TEST_F(AnimatedTest, FrameWrapsAndNegativeMeansTheLast)
{
    animation.SetFrameCount(16);
    animation.SetFrame(-1);
    EXPECT_EQ(animation.Frame(), 15);
    animation.SetFrame(17);
    EXPECT_EQ(animation.Frame(), 1);
    animation.SetFrame(1);  // no change, no notification
    EXPECT_EQ(frames, (std::vector<int>{15, 1}));
}

TEST_F(AnimatedTest, OwnsATimerOnlyWhilePlayingWithAnInterval)
{
    EXPECT_FALSE(animation.HasTimer());
    animation.SetPlay(true);
    EXPECT_FALSE(animation.HasTimer());
    animation.SetInterval(1000);
    EXPECT_TRUE(animation.HasTimer());
    animation.SetInterval(0);
    EXPECT_FALSE(animation.HasTimer());
    animation.SetInterval(500);
    animation.SetPlay(false);
    EXPECT_FALSE(animation.HasTimer());
    animation.SetPlay(true);
    EXPECT_TRUE(animation.HasTimer());
}

TEST_F(AnimatedTest, LoopingRunGoesRoundAndKeepsPlaying)
{
    animation.SetInterval(1000);
    animation.SetPlay(true);
    for (int i = 0; i < 6; ++i)
        animation.Tick();
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 0, 1, 2}));
    EXPECT_TRUE(animation.Play());
    EXPECT_TRUE(animation.HasTimer());
}

TEST_F(AnimatedTest, NonLoopingRunRestsOnTheLastFrame)
{
    animation.SetFrameCount(3);
    animation.SetLoop(false);
    animation.SetInterval(1000);
    animation.SetPlay(true);
    animation.Tick();
    animation.Tick();
    EXPECT_EQ(frames, (std::vector<int>{1, 2}));
    EXPECT_EQ(animation.Frame(), 2);
    EXPECT_FALSE(animation.Play());
    EXPECT_FALSE(animation.HasTimer());
}

TEST_F(AnimatedTest, ReverseRunRestsOnFrameZero)
{
    animation.SetFrame(2);
    frames.clear();
    animation.SetReverse(true);
    animation.SetLoop(false);
    animation.SetInterval(1000);
    animation.SetPlay(true);
    animation.Tick();
    animation.Tick();
    EXPECT_EQ(frames, (std::vector<int>{1, 0}));
    EXPECT_FALSE(animation.Play());

    animation.SetLoop(true);
    animation.SetPlay(true);
    animation.Tick();
    EXPECT_EQ(animation.Frame(), 3);  // a looping reverse run wraps to the last frame
}

TEST_F(AnimatedTest, TheTimerStepsTheFrames)
{
    animation.SetLoop(false);
    animation.SetInterval(5);
    animation.SetPlay(true);
    QElapsedTimer clock;
    clock.start();
    while (animation.Play() && clock.elapsed() < 5000)
        QTest::qWait(5);
    EXPECT_FALSE(animation.Play());
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3}));
}

}  // namespace
