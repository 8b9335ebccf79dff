#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QWidget>

// A status bar of sunken panels side by side, each with a width and a text, drawn by its
// owner: every paint of the bar asks OnDrawPanel for each panel, with the panel's text and
// its inner rectangle. The bar draws only the panels' frames.
class TPanelStatusBar : public QWidget {
public:
    struct TPanel {
        int width;
        QString text;
    };

    TPanelStatusBar(std::vector<TPanel> panels, QWidget* parent);

    int PanelCount() const { return static_cast<int>(panels.size()); }
    QRect PanelRect(int index) const;

    std::function<void(TPanelStatusBar* sender, const QString& text, const QRect& rect)> OnDrawPanel;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<TPanel> panels;
};
