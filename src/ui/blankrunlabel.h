#pragma once

#include <QLabel>

// A caption with a field laid over the run of blanks inside it, such as the number box of
// "下載層數           層", so that the caption reads round the field. The text stays the
// caption as written; only its drawing widens the run when the field needs more room
// than the blanks give.
class TBlankRunLabel : public QLabel {
public:
    TBlankRunLabel(const QString& caption, QWidget* parent);

    // Moves field, a sibling of the label, into the run and sizes the label to its text.
    void Hold(QWidget* field);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString Before() const { return text().left(runStart); }
    QString After() const { return text().mid(runEnd); }

    int runStart = 0;
    int runEnd = 0;
    int runWidth = 0;  // pixels drawn for the blanks
};
