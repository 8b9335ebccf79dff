#pragma once

#include <string>

#include <QTabBar>

// The category tab set under each list: tab 0 "全部" shows every category, tab n (1 to
// 10) the category numbered n, the tenth being "我的最愛".
class TCategoryTabs : public QTabBar {
public:
    static constexpr int Tabs = 11;

    explicit TCategoryTabs(QWidget* parent);

    // The list filter of a tab: "kind_Serial=n", empty for tab 0.
    static std::string FilterOf(int tab);

protected:
    QSize tabSizeHint(int index) const override;
};
