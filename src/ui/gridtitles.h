#pragma once

#include <set>

#include <QHeaderView>

// The title row of a data grid. A column may have its title drawn on the info-tip colour
// instead of the button face, to set it apart.
class TGridTitles : public QHeaderView {
public:
    explicit TGridTitles(QWidget* parent);

    void SetInfoTip(int section, bool value);
    bool InfoTip(int section) const { return infoTipSections.count(section) > 0; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    std::set<int> infoTipSections;
};
