#include "ui/desktopopen.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/paths.h"
#include "core/userinterface.h"

bool OpenProgramDocument(const std::string& name)
{
    std::string path = ProgramFolder() + name;
    if (!FileExists(path)) {
        Ui().Warning("找不到檔案 " + path + "\r請重新安裝 Zanvik。");
        return false;
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
        return true;
    Ui().Warning("無法開啟 " + path + "\r桌面上沒有可以開啟這種檔案的程式 (xdg-open)。\r請安裝桌面的檢視程式後再試一次。");
    return false;
}

bool OpenWebAddress(const std::string& url)
{
    if (QDesktopServices::openUrl(QUrl(QString::fromStdString(url))))
        return true;
    Ui().Warning("無法開啟網址 " + url + "\r桌面上沒有可以開啟網頁的瀏覽器 (xdg-open)。\r請安裝瀏覽器,或在選項頁改用內建的瀏覽器。");
    return false;
}
