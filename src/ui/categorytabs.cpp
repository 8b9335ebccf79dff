#include "ui/categorytabs.h"

#include <string>

namespace {

const char* const kTitles[TCategoryTabs::Tabs] = {
    "全部", "工商產業", "生活資訊", "休閒育樂", "社會文化", "科學", "國家", "教育事業", "醫療保健", "藝文", "我的最愛",
};

// Room beside a title; eleven titles fit the window's width with it.
const int kPadding = 9;

}  // namespace

TCategoryTabs::TCategoryTabs(QWidget* parent) : QTabBar(parent)
{
    setShape(QTabBar::RoundedSouth);
    setDrawBase(true);
    setExpanding(false);
    setUsesScrollButtons(true);
    for (const char* title : kTitles)
        addTab(QString::fromUtf8(title));
}

std::string TCategoryTabs::FilterOf(int tab)
{
    return tab > 0 ? "kind_Serial=" + std::to_string(tab) : std::string();
}

QSize TCategoryTabs::tabSizeHint(int index) const
{
    QSize size = QTabBar::tabSizeHint(index);
    size.setWidth(fontMetrics().horizontalAdvance(tabText(index)) + 2 * kPadding);
    return size;
}
