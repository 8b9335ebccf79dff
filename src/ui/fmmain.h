#pragma once

#include <array>
#include <memory>
#include <string>

#include <QIcon>
#include <QMainWindow>

#include "schedule/watchdog.h"
#include "server/pageserverhost.h"
#include "ui/phonepage.h"
#include "ui/readingpage.h"
#include "ui/searchhost.h"
#include "ui/statuspictures.h"

class QAction;
class QLineEdit;
class QMenu;
class TAboutBox;
class TAnimated;
class TBrowserPage;
class TDMMain;
class TPageServer;
class TPanelStatusBar;
class TPictureButton;
class TSchedulePage;
class TSetupPage;
class TToolbarStrip;
class Tdbmeter;
class TfmSearch;
class TfmStop;
class TfmWWW;

// The program's main window: the toolbar of picture buttons that chooses a page, the five
// pages stacked in one page area (reading list, schedule, phone book, options, browser),
// the menus, and the status bar with the status line and the grab threads' five meters.
// It owns the page server and the scheduler thread: both start on the window's first
// activation, and closing the window stops the grab and waits for the scheduler to end.
// An error that escapes any event handler of the program is logged and shown here, and
// the program goes on.
class TfmMain : public QMainWindow, public TPageServerHost, public TSearchHost {
public:
    // The list pages' numbers, as the page server reads them.
    enum TList { lstSee = 0, lstSchedule = 1, lstTel = 2 };
    static constexpr int Meters = 5;

    // data and account must outlive the window; runSite grabs one site for the scheduler.
    TfmMain(TDMMain& data, const TDialAccount& account, TWatchDog::TSiteRun runSite = RunSite);
    ~TfmMain() override;

    int CurrentList() const override { return currentList; }
    bool EnsureConnection() override;

    TWatchDog& WatchDog() { return *watchDog; }
    TPageServer& PageServer() { return *pageServer; }
    TfmStop& fmStop();
    TfmWWW& fmWWW() override;
    TfmSearch& fmSearch();

    // The picture buttons' clicks: 1 to 4 choose a page, 5 is the force disconnect.
    void PaintBoxClick(int tag);
    // "強迫斷線": the stop dialog while a site is being grabbed.
    void ForceDisconnect();
    // "重整索引檔"
    void N12Click();
    // "求助"
    void HelpClick();
    // "關於" > "Zanvik"
    void AboutClick();
    // "尋找資料": the search dialog, modal.
    void SearchClick();
    // A double-click on a list row: the site in the built-in browser or the user's own.
    void OpenSite(const std::string& url) override;

    // What the search dialog does here: the pages as their picture buttons bring them, and
    // the category tabs of the phone book and the schedule.
    void ShowPhoneBookPage() override;
    void SelectPhoneBookTab(int tab) override;
    void SelectScheduleTab(int tab) override;
    void ShowSchedulePage() override;
    // The page in front.
    QWidget* FrontPage() const;
    void BringToFront(QWidget* page);
    void SendToBack(QWidget* page);

    TPictureButton* PaintBox(int tag) const;
    Tdbmeter* dbmeter(int number) const;
    bool Placed(int panel) const { return placed[static_cast<size_t>(panel)]; }
    // The first activation has started the page server and the scheduler.
    bool Activated() const { return activated; }

    TToolbarStrip* normalImage;
    TAnimated* Animated1;
    QWidget* pageArea;
    TReadingPage* panSee;
    TSchedulePage* panSchedule;
    TPhonePage* panTel;
    TSetupPage* panSetup;
    TBrowserPage* panBrowser;
    TPanelStatusBar* StatusBar1;
    QLineEdit* statusLabel;

    QMenu* mnuFile;
    QAction* mnuFileDelete;
    QAction* mnuFileExit;
    QAction* N12;
    QMenu* mnuSchedule;
    QAction* mnuAddSchedule;
    QAction* mnuChangeSchedule;
    QAction* mnuDeleteSchedule;
    QAction* mnuDownloadNow;
    QMenu* mnuTel;
    QAction* mnuPutOnSchedule;
    QAction* mnuTakeOffSchedule;
    QAction* mnuAddStation;
    QAction* mnuEditStation;
    QAction* mnuDeleteStation;
    QAction* mnuAddFavourite;
    QAction* mnuSearch;
    QAction* mnuForceDisconnect;
    QMenu* mnuAbout;
    QAction* mnuAboutZanvik;
    QAction* mnuHelp;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void MakeToolbar();
    void MakePages();
    void MakeStatusBar();
    void MakeMenus();
    void MakeFileMenu();
    void MakeScheduleMenu();
    void MakePhoneBookMenu();
    void MakeAboutMenu();
    void mnuScheduleShow();
    void mnuTelShow();
    void UpdateDeleteItem();
    void FirstActivation();
    void Animated1ChangeFrame(int frame);
    void StatusBar1DrawPanel(const QString& text, const QRect& rect);
    void ShowReadingList();
    void ShowSchedule();
    void ShowPhoneBook();
    void ShowOptions();
    void RestoreProxyWhen(bool ie4Browser);

    TDMMain& data;
    TStatusPictures statusPictures;
    std::array<QIcon, 4> icons;
    std::array<Tdbmeter*, Meters> meters{};
    std::array<bool, Meters + 1> placed{};
    std::unique_ptr<TPageServer> pageServer;
    std::unique_ptr<TWatchDog> watchDog;
    TfmStop* stopDialog = nullptr;
    TfmWWW* scheduleDialog = nullptr;
    TfmSearch* searchDialog = nullptr;
    TAboutBox* aboutBox = nullptr;
    int currentList = lstSee;
    bool activated = false;
};
