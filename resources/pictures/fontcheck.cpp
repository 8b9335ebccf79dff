#include "fontcheck.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>
#include <stdexcept>

QString ChineseFontFamily()
{
    return QStringLiteral("Noto Sans CJK TC");
}

void RequireChineseFont()
{
    const QString family = ChineseFontFamily();
    QFont font(family);
    font.setPixelSize(16);
    const bool present = QFontDatabase::families().contains(family) &&
                         QFontInfo(font).family() == family;
    const QString sample = QStringLiteral("閱讀排程電話簿選項斷線");
    bool covers = present;
    for (const QChar c : sample)
        covers = covers && QFontMetrics(font).inFont(c);
    if (!covers)
        throw std::runtime_error(
            QStringLiteral("找不到中文字型「%1」,圖片無法繪製。請執行 scripts/setup 安裝 "
                           "fonts-noto-cjk 套件後再建置。")
                .arg(family)
                .toStdString());
}
