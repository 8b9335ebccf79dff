#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// Two small arrow buttons beside an edit box that step a number in it: the toolkit's
// up-down control. The number is read from the box before each step, so what was typed
// counts; it stays between min and max and stops at either end. The arrow keys in the box
// step it too.
class TUpDown : public QWidget {
public:
    TUpDown(QLineEdit& associate, int min, int max, QWidget* parent = nullptr);

    int Position() const;
    void SetPosition(int value);
    QToolButton* UpButton() const { return up; }
    QToolButton* DownButton() const { return down; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int by);

    QLineEdit& associate;
    int min;
    int max;
    QToolButton* up;
    QToolButton* down;
};
