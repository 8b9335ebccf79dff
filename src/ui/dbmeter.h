#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

enum class TBevelStyle { bvNone, bvLowered, bvRaised };
enum class Tdbmeterstyle { dsVertical, dsHorizontal };
enum class tdbmeterdirection { ddRightDown, ddLeftUp };

// A segmented level meter: green, yellow and red zones of segments, each zone covering a
// span of positions, lit up to the position (or only the last lit one). It draws into a
// picture of its own size whenever a property changes and paints that picture.
class Tdbmeter : public QWidget {
public:
    explicit Tdbmeter(QWidget* parent = nullptr);

    TBevelStyle BevelStyle() const { return bevelStyle; }
    void SetBevelStyle(TBevelStyle value);
    int BevelWidth() const { return bevelWidth; }
    void SetBevelWidth(int value);  // 0 becomes 1

    int Greens() const { return greens; }
    void SetGreens(int value);
    int Yellows() const { return yellows; }
    void SetYellows(int value);
    int Reds() const { return reds; }
    void SetReds(int value);
    int GreenMax() const { return greenMax; }
    void SetGreenMax(int value);
    int YellowMax() const { return yellowMax; }
    void SetYellowMax(int value);
    int RedMax() const { return redMax; }
    void SetRedMax(int value);

    QColor GreenColor() const { return greenColor; }
    void SetGreenColor(const QColor& value);
    QColor YellowColor() const { return yellowColor; }
    void SetYellowColor(const QColor& value);
    QColor RedColor() const { return redColor; }
    void SetRedColor(const QColor& value);
    QColor GreenBack() const { return greenBack; }
    void SetGreenBack(const QColor& value);
    QColor YellowBack() const { return yellowBack; }
    void SetYellowBack(const QColor& value);
    QColor RedBack() const { return redBack; }
    void SetRedBack(const QColor& value);

    bool ShowJustOne() const { return showJustOne; }
    void SetShowJustOne(bool value);
    int SepWidth() const { return sepWidth; }
    void SetSepWidth(int value);
    QColor SepColor() const { return sepColor; }
    void SetSepColor(const QColor& value);
    Tdbmeterstyle Style() const { return style; }
    void SetStyle(Tdbmeterstyle value);
    tdbmeterdirection Direction() const { return direction; }
    void SetDirection(tdbmeterdirection value);

    int Position() const { return position; }
    void SetPosition(int value);

    // How many segments the position lights, counted from segment 1.
    int LitCount() const;
    // The meter as last drawn, of the control's size.
    const QImage& Bitmap() const { return bitmap; }

    QSize sizeHint() const override { return {80, 17}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    template <typename T>
    void Change(T& member, const T& value);
    void Redraw();
    void DrawSegments(QImage& image) const;
    void DrawBevel(QImage& image) const;
    QColor SegmentColor(int segment, int lit) const;

    TBevelStyle bevelStyle = TBevelStyle::bvLowered;
    int bevelWidth = 1;
    int greens = 3;
    int yellows = 2;
    int reds = 1;
    int greenMax = 50;
    int yellowMax = 25;
    int redMax = 25;
    QColor greenColor{0, 255, 0};
    QColor yellowColor{255, 255, 0};
    QColor redColor{255, 0, 0};
    QColor greenBack{128, 128, 128};
    QColor yellowBack{128, 128, 128};
    QColor redBack{128, 128, 128};
    bool showJustOne = false;
    int sepWidth = 1;
    QColor sepColor{192, 192, 192};
    Tdbmeterstyle style = Tdbmeterstyle::dsHorizontal;
    tdbmeterdirection direction = tdbmeterdirection::ddRightDown;
    int position = 0;
    QImage bitmap;
};
