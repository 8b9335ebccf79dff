#include "ui/fmmain.h"

#include <exception>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "core/busyscope.h"
#include "core/mainthread.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/userinterface.h"
#include "data/dmmain.h"
#include "grab/grabstate.h"
#include "server/pageserver.h"
#include "server/proxyregistry.h"
#include "ui/aboutbox.h"
#include "ui/animated.h"
#include "ui/application.h"
#include "ui/browserpage.h"
#include "ui/categorytabs.h"
#include "ui/dbmeter.h"
#include "ui/desktopopen.h"
#include "ui/errorlogger.h"
#include "ui/fmsearch.h"
#include "ui/fmstop.h"
#include "ui/fmwww.h"
#include "ui/panelstatusbar.h"
#include "ui/recordscrollbar.h"
#include "ui/schedulepage.h"
#include "ui/setuppage.h"
#include "ui/statusmeter.h"
#include "ui/systempicture.h"
#include "ui/toolbarstrip.h"

namespace {

const int kClientWidth = 793;
const int kClientHeight = 518;
const int kToolbarHeight = 65;
const int kStatusHeight = 25;
const int kPageHeight = kClientHeight - kToolbarHeight - kStatusHeight;

const int kForceDisconnectButton = 5;

}  // namespace

TfmMain::TfmMain(TDMMain& data, const TDialAccount& account, TWatchDog::TSiteRun runSite)
    : data(data), statusPictures(TStatusPictures::Load())
{
    setObjectName("fmMain");
    setWindowTitle("Zanvik");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    RestoreProxyWhen(false);
    TApplication::SetExceptionHook(LogHandlerError);
    for (int i = 0; i < 4; ++i)
        icons[static_cast<size_t>(i)] = QIcon(SystemPicture("icon" + std::to_string(i + 1) + ".ico"));
    QApplication::setWindowIcon(icons[0]);

    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    MakeToolbar();
    MakePages();
    MakeStatusBar();
    MakeMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    panSetup->FillFromSettings();

    pageServer = std::make_unique<TPageServer>(this);
    currentList = lstSee;
    BringToFront(panSee);
    watchDog = std::make_unique<TWatchDog>(data, account, std::move(runSite));
    MainWindowReady() = true;
}

TfmMain::~TfmMain()
{
    MainWindowReady() = false;
    // The scheduler uses the window's tables until it ends.
    watchDog.reset();
    RestoreProxyWhen(true);
    panSetup->SaveToSettings();
    TApplication::SetExceptionHook(nullptr);
}

void TfmMain::RestoreProxyWhen(bool ie4Browser)
{
    // Older browsers read the proxy at start, newer ones keep what they were given.
    if (Startup().ie4Browser != ie4Browser)
        return;
    try {
        TProxyRegistry registry;
        registry.RestoreProxy();
    } catch (const std::exception& error) {
        Ui().Error(error.what());
    }
}

void TfmMain::MakeToolbar()
{
    normalImage = new TToolbarStrip(centralWidget());
    normalImage->move(0, 0);
    normalImage->OnButtonClick = [this](int tag) { PaintBoxClick(tag); };
    Animated1 = new TAnimated(normalImage);
    Animated1->setObjectName("Animated1");
    Animated1->setGeometry(727, 6, 60, 52);
    Animated1->SetBitMap(SystemPicture("animate.bmp"));
    Animated1->SetFrameCount(16);
    Animated1->SetInterval(1000);
    Animated1->OnChangeFrame = [this](TAnimated* sender) { Animated1ChangeFrame(sender->Frame()); };
}

void TfmMain::MakePages()
{
    pageArea = new QWidget(centralWidget());
    pageArea->setObjectName("pageArea");
    pageArea->setGeometry(0, kToolbarHeight, kClientWidth, kPageHeight);
    auto openSite = [this](const std::string& url) { OpenSite(url); };

    auto scheduleDialog = [this]() -> TfmWWW& { return fmWWW(); };
    panSee = new TReadingPage(data, [this] { return currentList == lstSee; }, pageArea);
    panSchedule = new TSchedulePage(data.tabStation(), scheduleDialog, statusPictures, pageArea);
    panTel = new TPhonePage(data, scheduleDialog, statusPictures, pageArea);
    for (TListPage* page : {static_cast<TListPage*>(panSee), static_cast<TListPage*>(panSchedule),
                            static_cast<TListPage*>(panTel)})
        page->OnOpenSite = openSite;

    panSetup = new TSetupPage(pageArea);
    panSetup->setObjectName("panSetup");
    panBrowser = new TBrowserPage(pageArea);
    panBrowser->setObjectName("panBrowser");
    // The window's interface finds the animation by its name.
    panBrowser->Animate2->setObjectName("Animate2");
    for (QWidget* page : std::initializer_list<QWidget*>{panSee, panSchedule, panTel, panSetup, panBrowser}) {
        page->setGeometry(0, 0, kClientWidth, kPageHeight);
        page->setAutoFillBackground(true);
    }
}

void TfmMain::MakeStatusBar()
{
    StatusBar1 = new TPanelStatusBar({{450, "0"}, {67, "1"}, {67, "2"}, {67, "3"}, {67, "4"}, {67, "5"}},
                                     centralWidget());
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);
    StatusBar1->OnDrawPanel = [this](TPanelStatusBar*, const QString& text, const QRect& rect) {
        StatusBar1DrawPanel(text, rect);
    };
    statusLabel = new QLineEdit(StatusBar1);
    statusLabel->setObjectName("statusLabel");
    statusLabel->setFrame(false);
    statusLabel->hide();
    for (int n = 1; n <= Meters; ++n) {
        Tdbmeter* meter = NewStatusMeter(StatusBar1);
        meter->setObjectName(QString("dbmeter%1").arg(n));
        meter->hide();
        meters[static_cast<size_t>(n - 1)] = meter;
    }
}

// Each panel takes its control on its first drawing, at the panel's place.
void TfmMain::StatusBar1DrawPanel(const QString& text, const QRect& rect)
{
    int panel = text.toInt();
    if (panel < 0 || panel > Meters || placed[static_cast<size_t>(panel)])
        return;
    placed[static_cast<size_t>(panel)] = true;
    if (panel == 0) {
        statusLabel->setGeometry(rect);
        statusLabel->clear();
        statusLabel->show();
        return;
    }
    Tdbmeter* meter = dbmeter(panel);
    meter->setGeometry(rect.left(), rect.top(), meter->width(), rect.height());
    meter->show();
}

void TfmMain::MakeMenus()
{
    MakeFileMenu();
    MakeScheduleMenu();
    MakePhoneBookMenu();
    mnuSearch = menuBar()->addAction("尋找資料", [this] { SearchClick(); });
    mnuForceDisconnect = menuBar()->addAction("強迫斷線", [this] { ForceDisconnect(); });
    MakeAboutMenu();
}

void TfmMain::MakeFileMenu()
{
    mnuFile = menuBar()->addMenu("檔案管理");
    mnuFileDelete = mnuFile->addAction("刪除", [this] { panSee->DeleteGrabbedSite(); });
    mnuFile->addSeparator();
    mnuFileExit = mnuFile->addAction("結束", [this] { close(); });
    mnuFile->addSeparator();
    N12 = mnuFile->addAction("重整索引檔", [this] { N12Click(); });
    connect(mnuFile, &QMenu::aboutToShow, this, [this] { UpdateDeleteItem(); });
}

void TfmMain::MakeScheduleMenu()
{
    mnuSchedule = menuBar()->addMenu("預約異動");
    mnuAddSchedule = mnuSchedule->addAction("增加預約排程", [this] { panSchedule->AddSchedule(); });
    mnuChangeSchedule = mnuSchedule->addAction("異動預約排程", [this] { panSchedule->ChangeSchedule(); });
    mnuDeleteSchedule = mnuSchedule->addAction("刪除預約排程", [this] { panSchedule->DeleteSchedule(); });
    mnuSchedule->addSeparator();
    mnuDownloadNow = mnuSchedule->addAction("立即下載本站", [this] { panSchedule->DownloadNow(); });
    connect(mnuSchedule, &QMenu::aboutToShow, this, [this] { mnuScheduleShow(); });
}

void TfmMain::MakePhoneBookMenu()
{
    mnuTel = menuBar()->addMenu("網頁電話簿");
    TPhoneBookCommands& book = panTel->Commands();
    mnuPutOnSchedule = mnuTel->addAction("列入預約排程", [&book] { book.PutOnSchedule(); });
    mnuTakeOffSchedule = mnuTel->addAction("取消預約排程", [&book] { book.TakeOffSchedule(); });
    mnuTel->addSeparator();
    mnuAddStation = mnuTel->addAction("增加站台", [this] { panTel->AddStation(); });
    mnuEditStation = mnuTel->addAction("編輯站台", [&book] { book.EditStation(); });
    mnuDeleteStation = mnuTel->addAction("刪除站台", [&book] { book.DeleteStation(); });
    mnuTel->addSeparator();
    mnuAddFavourite = mnuTel->addAction("加入我的最愛", [&book] { book.AddToFavourites(); });
    connect(mnuTel, &QMenu::aboutToShow, this, [this] { mnuTelShow(); });
}

// The items on the current station act only while the phone book is the current list.
void TfmMain::mnuTelShow()
{
    panTel->EnableStationItems(mnuPutOnSchedule, mnuTakeOffSchedule, mnuEditStation, mnuDeleteStation,
                               currentList == lstTel);
}

void TfmMain::MakeAboutMenu()
{
    mnuAbout = menuBar()->addMenu("關於");
    mnuAboutZanvik = mnuAbout->addAction("Zanvik", [this] { AboutClick(); });
    mnuAbout->addSeparator();
    mnuHelp = mnuAbout->addAction("求助", [this] { HelpClick(); });
}

void TfmMain::mnuScheduleShow()
{
    bool entries = currentList == lstSchedule && panSchedule->HasEntries();
    mnuChangeSchedule->setEnabled(entries);
    mnuDeleteSchedule->setEnabled(entries);
    mnuDownloadNow->setEnabled(entries);
}

void TfmMain::UpdateDeleteItem()
{
    TTable& see = data.seeTab();
    mnuFileDelete->setEnabled(currentList == lstSee && see.Active() && see.RecordCount() > 0);
}

TPictureButton* TfmMain::PaintBox(int tag) const
{
    return normalImage->PaintBox(tag);
}

Tdbmeter* TfmMain::dbmeter(int number) const
{
    if (number < 1 || number > Meters)
        return nullptr;
    return meters[static_cast<size_t>(number - 1)];
}

void TfmMain::Animated1ChangeFrame(int frame)
{
    QApplication::setWindowIcon(icons[static_cast<size_t>(frame % 4)]);
}

QWidget* TfmMain::FrontPage() const
{
    const QObjectList& pages = pageArea->children();
    for (auto page = pages.rbegin(); page != pages.rend(); ++page) {
        auto* widget = qobject_cast<QWidget*>(*page);
        if (widget && !widget->isHidden())
            return widget;
    }
    return nullptr;
}

void TfmMain::BringToFront(QWidget* page)
{
    page->show();
    page->raise();
}

void TfmMain::SendToBack(QWidget* page)
{
    page->lower();
}

void TfmMain::PaintBoxClick(int tag)
{
    switch (tag) {
    case 1:
        ShowReadingList();
        break;
    case 2:
        ShowSchedule();
        break;
    case 3:
        ShowPhoneBook();
        break;
    case 4:
        ShowOptions();
        break;
    case kForceDisconnectButton:
        ForceDisconnect();
        break;
    default:
        break;
    }
}

void TfmMain::ShowReadingList()
{
    panSee->ShowAllCategories();
    data.seeTab().Refresh();
    panSee->ScrollBar()->UpdateBar();
    currentList = lstSee;
    BringToFront(panSee);
    UpdateDeleteItem();
}

void TfmMain::ShowSchedule()
{
    panSchedule->ShowAllCategories();
    data.tabStation().Refresh();
    panSchedule->ScrollBar()->UpdateBar();
    currentList = lstSchedule;
    BringToFront(panSchedule);
    UpdateDeleteItem();
}

void TfmMain::ShowPhoneBook()
{
    TBusyScope busy("正在打開網路電話簿  請稍待");
    TTable& favor = data.telStation();
    if (!favor.Active()) {
        try {
            favor.Open();
        } catch (const std::exception&) {
            // A damaged index: making the indexes anew opens the table again.
            data.RebuildFavorIndexes();
        }
    }
    favor.Refresh();
    panTel->ScrollBar()->UpdateBar();
    currentList = lstTel;
    BringToFront(panTel);
    UpdateDeleteItem();
}

void TfmMain::ShowOptions()
{
    BringToFront(panSetup);
    UpdateDeleteItem();
}

void TfmMain::ForceDisconnect()
{
    if (!GrabState().CurrentSiteURL().empty())
        fmStop().exec();
}

TfmStop& TfmMain::fmStop()
{
    if (!stopDialog)
        stopDialog = new TfmStop(*watchDog, this);
    return *stopDialog;
}

TfmWWW& TfmMain::fmWWW()
{
    if (!scheduleDialog)
        scheduleDialog = new TfmWWW(data, this);
    return *scheduleDialog;
}

TfmSearch& TfmMain::fmSearch()
{
    if (!searchDialog)
        searchDialog = new TfmSearch(data, *this, this);
    return *searchDialog;
}

void TfmMain::SearchClick()
{
    fmSearch().exec();
}

// The search dialog's page changes mark their picture button too, so that the toolbar
// shows the page that is in front.
void TfmMain::ShowPhoneBookPage()
{
    normalImage->SetSelected(3);
    PaintBoxClick(3);
}

void TfmMain::SelectPhoneBookTab(int tab)
{
    panTel->TabSet()->setCurrentIndex(tab);
}

void TfmMain::SelectScheduleTab(int tab)
{
    panSchedule->TabSet()->setCurrentIndex(tab);
}

void TfmMain::ShowSchedulePage()
{
    normalImage->SetSelected(2);
    PaintBoxClick(2);
}

void TfmMain::AboutClick()
{
    if (!aboutBox)
        aboutBox = new TAboutBox(this);
    aboutBox->exec();
}

void TfmMain::HelpClick()
{
    OpenProgramDocument("vorlan.html");
}

void TfmMain::OpenSite(const std::string& url)
{
    if (!Settings().USE_browser) {
        OpenWebAddress(url);
        panBrowser->hide();
        return;
    }
    BringToFront(panBrowser);
    panBrowser->OpenSite(QString::fromStdString(url));
}

void TfmMain::N12Click()
{
    if (!Ui().Ask("當本系統到有索引檔損壞情形時,\r\n請執行本功能重建你的索引資料檔\r\n\r\n你是否現在要執行這個功能呢?"))
        return;
    {
        TBusyScope busy("請稍待片刻       正在重建資料索引檔");
        // The scheduler's query and its grab must be gone before the indexes are made anew.
        watchDog->Terminate();
        watchDog->WaitFor();
        data.tabForTel().Close();
        data.RebuildSeeIndexes();
        data.RebuildStationIndexes();
        data.RebuildFavorIndexes();
    }
    Ui().Message("為了確保執行的正確性\r\nZanvik將自行關閉");
    close();
}

bool TfmMain::EnsureConnection()
{
    return watchDog->EnsureConnection();
}

void TfmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    // A desktop that never activates the window (no window manager) still gets it going.
    if (!activated)
        QTimer::singleShot(0, this, [this] { FirstActivation(); });
}

bool TfmMain::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        FirstActivation();
    return QMainWindow::event(event);
}

void TfmMain::FirstActivation()
{
    if (activated)
        return;
    activated = true;
    normalImage->InstallHoverReset();
    // The built-in browser's proxy is the page server, on the port it listens on.
    pageServer->Open();
    if (Settings().USE_browser) {
        if (pageServer->TCPServer1.State() == stListening)
            panBrowser->ProxyPort = pageServer->TCPServer1.ListenPort();
        panBrowser->PlaceBrowser();
    }
    watchDog->Start();
    UpdateDeleteItem();
    normalImage->SetSelected(1);
    panSee->ScrollBar()->UpdateBar();
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    MainWindowReady() = false;
    if (Settings().USE_browser)
        panBrowser->StopBrowser();
    GrabState().StopFlag = true;
    watchDog->Terminate();
    // Its hand-overs to this thread are served while we wait. A close that comes while one
    // of them is under way (a quit signal while the scheduler's question is open) cannot
    // wait here: that question is below us and the scheduler waits for it. The wait then
    // comes when the window goes, after the question has been closed too.
    if (!InsideHandOver())
        watchDog->WaitFor();
    event->accept();
}
