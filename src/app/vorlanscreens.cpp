// vorlan-screens FOLDER [FILE...]: renders the program's windows and controls offscreen
// into PNG files in FOLDER, for review. Each window is one entry of the list below; a new
// window adds its entry there. Run it with ZANVIK_HOME pointing at a program folder that
// holds the pictures, the shipped tables, the settings and a small stored site, and with
// ZANVIK_WINDIR and ZANVIK_RAS=sim for a dial-up entry (scripts/screenshots prepares them).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#ifdef ZANVIK_WEBENGINE
#include <QWebEngineView>
#endif

#include "core/mainthread.h"
#include "core/settings.h"
#include "data/dmmain.h"
#include "data/table.h"
#include "schedule/dialaccount.h"
#include "server/pageserver.h"
#include "grab/grabscheduler.h"
#include "net/dns.h"
#include "ui/aboutbox.h"
#include "ui/animated.h"
#include "ui/browserengine.h"
#include "ui/browserpage.h"
#include "ui/busythread.h"
#include "ui/toolbarstrip.h"
#include "ui/dbmeter.h"
#include "ui/fmbusy.h"
#include "ui/fmfavor.h"
#include "ui/fmmain.h"
#include "ui/fmsearch.h"
#include "ui/fmstop.h"
#include "ui/fmwww.h"
#include "ui/grabdialog.h"
#include "ui/grabokdialog.h"
#include "ui/programfonts.h"
#include "ui/searchhostwithoutpages.h"
#include "ui/statusmeter.h"
#include "ui/systempicture.h"
#include "ui/testgrid.h"
#include "ui/warndialog.h"
#include "ui/windowui.h"

namespace {

// A port of the loopback address that is free now.
int FreeLoopbackPort()
{
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), size) == 0
        && ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(socket);
    return port;
}

// What the windows are shown with: the data module over the program folder's tables, and
// a main window without pages for the dialogs that go to it.
struct TScreenContext {
    TDMMain& data;
    TSearchHost& mainWindow;
    // The port of the main windows' page servers: one for the whole run, as the program's
    // is always 8088, since the built-in browser keeps the proxy it was first given.
    int pagePort = 0;
};

struct TScreen {
    const char* file;
    std::function<std::unique_ptr<QWidget>(TScreenContext&)> make;
    // What is done to the window once it is up, before it is taken.
    std::function<void(QWidget&)> shown = {};
};

// The scheduler that a stop dialog talks to, here idle.
class TIdleScheduler : public TGrabScheduler {
public:
    bool EndRequested() const override { return false; }
    void RequestEnd() override {}
    void Status(const std::string&) override {}
};

TIdleScheduler idleScheduler;


QLabel* Caption(const QString& text, QRect place, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

// A status-bar meter as the main window sets it up.
Tdbmeter* StatusMeter(QWidget* parent, int position)
{
    Tdbmeter* meter = NewStatusMeter(parent);
    meter->SetPosition(position);
    return meter;
}

std::unique_ptr<QWidget> Meters(TScreenContext&)
{
    auto panel = std::make_unique<QWidget>();
    panel->setWindowTitle("Tdbmeter");
    panel->setFixedSize(420, 260);
    Caption("狀態列的量表 (位置 0、1、32、40、64)", QRect(16, 8, 390, 24), panel.get());
    int x = 16;
    for (int position : {0, 1, 32, 40, 64}) {
        StatusMeter(panel.get(), position)->move(x, 40);
        Caption(QString::number(position), QRect(x, 60, 64, 20), panel.get())->setAlignment(Qt::AlignCenter);
        x += 78;
    }
    Caption("只亮一格 (位置 40)", QRect(16, 92, 200, 24), panel.get());
    Tdbmeter* one = StatusMeter(panel.get(), 40);
    one->SetShowJustOne(true);
    one->move(16, 120);
    Caption("預設量表 (位置 60、凸起邊框)", QRect(16, 150, 250, 24), panel.get());
    auto* standard = new Tdbmeter(panel.get());
    standard->SetPosition(60);
    standard->move(16, 178);
    auto* raised = new Tdbmeter(panel.get());
    raised->SetPosition(90);
    raised->SetBevelStyle(TBevelStyle::bvRaised);
    raised->SetBevelWidth(2);
    raised->move(112, 178);
    Caption("直立 (位置 70)", QRect(280, 92, 120, 24), panel.get());
    for (auto [left, direction] : {std::pair{300, tdbmeterdirection::ddRightDown}, std::pair{340, tdbmeterdirection::ddLeftUp}}) {
        auto* vertical = new Tdbmeter(panel.get());
        vertical->resize(24, 120);
        vertical->SetStyle(Tdbmeterstyle::dsVertical);
        vertical->SetDirection(direction);
        vertical->SetPosition(70);
        vertical->move(left, 122);
    }
    return panel;
}

std::unique_ptr<QWidget> Animations(TScreenContext&)
{
    auto panel = std::make_unique<QWidget>();
    panel->setWindowTitle("TAnimated");
    panel->setFixedSize(560, 240);
    Caption("工具列動畫的十六格", QRect(16, 8, 400, 24), panel.get());
    QPixmap toolbar = SystemPicture("animate.bmp");
    for (int frame = 0; frame < 16; ++frame) {
        auto* animation = new TAnimated(panel.get());
        animation->resize(60, 52);
        animation->SetBitMap(toolbar);
        animation->SetFrameCount(16);
        animation->SetFrame(frame);
        animation->move(16 + (frame % 8) * 66, 36 + (frame / 8) * 60);
    }
    Caption("瀏覽頁動畫的三格", QRect(16, 160, 400, 24), panel.get());
    QPixmap browser = SystemPicture("browse.bmp");
    for (int frame = 0; frame < 3; ++frame) {
        auto* animation = new TAnimated(panel.get());
        animation->resize(27, 27);
        animation->SetBitMap(browser);
        animation->SetFrameCount(3);
        animation->SetFrame(frame);
        animation->move(16 + frame * 36, 190);
    }
    return panel;
}

std::unique_ptr<QWidget> Grid(TScreenContext& context)
{
    auto grid = std::make_unique<TTestGrid>();
    grid->setWindowTitle("TTestGrid");
    grid->resize(640, 260);
    grid->SetScrollBars(TScrollStyle::ssVertical);
    TTable& favor = context.data.telStation();
    grid->SetDataSet(&favor);
    grid->SetColumns({{"bCalSchedule", "已排程", 55, Qt::AlignCenter}, {"ALIAS", "", 200}, {"URL", "", 360}});
    favor.MoveBy(2);
    return grid;
}

std::unique_ptr<QWidget> StationDialog(TScreenContext& context)
{
    TTable& favor = context.data.telStation();
    favor.First();
    favor.Edit();
    return std::make_unique<TfmFavor>(favor, context.data.kindTab());
}

// A new entry from the phone book, on the tab given; the settings tab shows a yearly entry.
std::unique_ptr<QWidget> ScheduleDialog(TScreenContext& context, int tab)
{
    TTable& station = context.data.tabStation();
    station.Append();
    station.FieldByName("kind_serial").SetAsInteger(2);
    station.FieldByName("Alias").SetAsString("經濟部");
    station.FieldByName("URL").SetAsString("http://www.moea.gov.tw/");
    station.FieldByName("Cross").SetAsBoolean(true);
    auto dialog = std::make_unique<TfmWWW>(context.data);
    dialog->Prepare();
    dialog->EdtLayout->setText("2");
    dialog->RdBOther->setChecked(true);
    dialog->edtOther->setText("12");
    dialog->edtOther1->setText("25");
    dialog->edtTime->setText("8");
    dialog->edtTime1->setText("30");
    dialog->TabControl1->setCurrentIndex(tab);
    return dialog;
}

// The phone book searched for a name, the hits listed and the third one current.
std::unique_ptr<QWidget> SearchDialog(TScreenContext& context)
{
    auto dialog = std::make_unique<TfmSearch>(context.data, context.mainWindow);
    dialog->edtAlias->setText("國立");
    dialog->edtURL->setText(".edu.tw");
    dialog->btnOkClick();
    dialog->Query1().MoveBy(2);
    return dialog;
}

std::unique_ptr<QWidget> BusyWindow(TScreenContext&)
{
    auto busy = std::make_unique<TfmBusy>();
    busy->panBusy()->setText("正在打開網路電話簿  請稍待");
    return busy;
}

std::unique_ptr<QWidget> SiteFinished(TScreenContext&)
{
    auto notice = std::make_unique<TgrabOkDialog>();
    notice->ShowSite("http://www.moea.gov.tw/");
    return notice;
}

std::unique_ptr<QWidget> WarningDialog(TScreenContext&)
{
    auto warning = std::make_unique<TwarnDialog>();
    warning->setWindowTitle("3:http://www.moea.gov.tw/");
    warning->Label1->setText("硬碟容量不足");
    return warning;
}

TNoDialAccount noAccount;

// Twenty sites of the phone book on the schedule, every third one, so that the phone book
// shows ticked and plain rows; the first ones already grabbed (ticks, a failure, a cross),
// and the grabbed ones in the reading list.
void FillSchedule(TDMMain& data)
{
    TTable& station = data.tabStation();
    if (station.RecordCount() > 0)
        return;
    TTable& favor = data.telStation();
    TTable& see = data.seeTab();
    const int statuses[] = {1, 1, 2, 1, 3, 1, 1, 2};
    TDateTime today = Today();
    favor.First();
    for (int i = 0; i < 20 && !favor.Eof(); ++i, favor.MoveBy(3)) {
        std::string url = favor.FieldByName("URL").AsString();
        std::string alias = favor.FieldByName("ALIAS").AsString();
        int kind = favor.FieldByName("KIND_SERIAL").AsInteger();
        TDateTime desired = today + 1 + (6 + i % 14) / 24.0 + (i * 7 % 60) / 1440.0;
        station.Append();
        station.FieldByName("Index").SetAsDateTime(today - 30 + i / 1440.0);
        station.FieldByName("URL").SetAsString(url);
        station.FieldByName("Alias").SetAsString(alias);
        station.FieldByName("desireDateTime").SetAsDateTime(desired);
        station.FieldByName("NextDesireDateTime").SetAsDateTime(desired + 1);
        station.FieldByName("Frequency").SetAsString("RdBDaily");
        station.FieldByName("Depth").SetAsInteger(2);
        station.FieldByName("kind_serial").SetAsInteger(kind);
        int status = i < 8 ? statuses[i] : 0;
        station.FieldByName("StatusCode").SetAsInteger(status);
        if (status != 0)
            station.FieldByName("overDateTime").SetAsDateTime(desired - 1 + 0.02);
        station.Post();
        if (status == 1 || status == 2) {
            see.Append();
            see.FieldByName("last_date").SetAsDateTime(today - i % 3);
            see.FieldByName("URL").SetAsString(url);
            see.FieldByName("Alias").SetAsString(alias);
            see.FieldByName("kind_serial").SetAsInteger(kind);
            see.Post();
        }
    }
    station.First();
    favor.First();
    see.First();
}

std::unique_ptr<QWidget> MainWindow(TScreenContext& context)
{
    FillSchedule(context.data);
    auto window = std::make_unique<TfmMain>(context.data, noAccount,
                                            [](const std::string&, int, bool, bool, TGrabScheduler&) { return 2; });
    window->PageServer().TCPServer1.Port = std::to_string(context.pagePort);
    return window;
}

// The window on the page of button tag, as a grab shows it: a line in the status bar
// and the five meters at work.
std::function<void(QWidget&)> OnPage(int tag)
{
    return [tag](QWidget& shown) {
        auto& window = dynamic_cast<TfmMain&>(shown);
        window.PaintBoxClick(tag);
        window.normalImage->SetSelected(tag);
        window.statusLabel->setText("下載中:<中央研究院><http://www.sinica.edu.tw/>");
        const int positions[] = {64, 40, 21, 9, 0};
        for (int n = 1; n <= TfmMain::Meters; ++n)
            window.dbmeter(n)->SetPosition(positions[n - 1]);
        window.Animated1->SetFrame(5);
    };
}

// The window as the program's settings make it: in dial-up mode, with the account and the
// dial-up entry that the program folder holds.
std::unique_ptr<QWidget> MainWindowWithSettings(TScreenContext& context)
{
    LoadSettings(SettingsFile());
    return MainWindow(context);
}

// The window showing the stored site's start page in the built-in browser, through its
// own page server, with the window's interface at work (status line, animation).
void ShowStoredSite(QWidget& shown)
{
    auto& window = dynamic_cast<TfmMain&>(shown);
    window.normalImage->SetSelected(1);
    TBusyThread busy;
    TWindowUserInterface windowUi(window, busy);
    SetUserInterface(&windowUi);
    QEventLoop loaded;
#ifdef ZANVIK_WEBENGINE
    if (window.panBrowser->WebBrowser1) {
        QObject::connect(window.panBrowser->WebBrowser1, &QWebEngineView::loadFinished, &loaded, [&loaded] {
            // A moment for the pictures to be drawn.
            QTimer::singleShot(500, &loaded, &QEventLoop::quit);
        });
    }
#endif
    QTimer::singleShot(60000, &loaded, &QEventLoop::quit);
    window.OpenSite("http://www.zanvik.example/");
    loaded.exec();
    SetUserInterface(nullptr);
}

const std::vector<TScreen> kScreens = {
    {"main-schedule.png", MainWindow, OnPage(2)},
    {"main-reading.png", MainWindow, OnPage(1)},
    {"main-phone.png", MainWindow, OnPage(3)},
    {"main-options.png", MainWindowWithSettings, OnPage(4)},
    {"main-browser.png", MainWindow, ShowStoredSite},
    {"station-dialog.png", StationDialog},
    {"schedule-dialog.png", [](TScreenContext& context) { return ScheduleDialog(context, 0); }},
    {"schedule-dialog-settings.png", [](TScreenContext& context) { return ScheduleDialog(context, 1); }},
    {"search.png", SearchDialog},
    {"stop-dialog.png", [](TScreenContext&) -> std::unique_ptr<QWidget> { return std::make_unique<TfmStop>(idleScheduler); }},
    {"busy-window.png", BusyWindow},
    {"meters.png", Meters},
    {"animation.png", Animations},
    {"grid.png", Grid},
    {"missed-time-dialog.png",
     [](TScreenContext&) -> std::unique_ptr<QWidget> {
         return std::make_unique<TGrabDialog>("http://www.example.com/a/long/path/to/the/page.html",
                                              "2024/07/10 08:00:00");
     }},
    {"site-finished.png", SiteFinished},
    {"warning-dialog.png", WarningDialog},
    {"about-box.png", [](TScreenContext&) -> std::unique_ptr<QWidget> { return std::make_unique<TAboutBox>(); }},
};

// The window as the desktop would frame it: a title bar with its caption over the client
// area, so that the caption can be read too.
QImage Framed(QWidget& window)
{
    QPixmap client = window.grab();
    bool frameless = window.windowFlags() & Qt::FramelessWindowHint;
    int bar = frameless ? 0 : 26;
    QImage image(client.width() + 2, client.height() + bar + 2, QImage::Format_RGB32);
    image.fill(QColor(60, 60, 60));
    QPainter painter(&image);
    if (bar > 0) {
        QLinearGradient shade(0, 0, image.width(), 0);
        shade.setColorAt(0, QColor(10, 36, 106));
        shade.setColorAt(1, QColor(110, 140, 200));
        painter.fillRect(1, 1, image.width() - 2, bar, shade);
        painter.setPen(Qt::white);
        painter.setFont(SerifFont(15));
        painter.drawText(QRect(8, 1, image.width() - 40, bar), Qt::AlignVCenter | Qt::AlignLeft, window.windowTitle());
        QRect close(image.width() - 24, 5, 18, 18);
        painter.fillRect(close, QColor(212, 208, 200));
        painter.setPen(Qt::black);
        painter.drawLine(close.topLeft() + QPoint(5, 5), close.bottomRight() - QPoint(5, 5));
        painter.drawLine(close.topRight() + QPoint(-5, 5), close.bottomLeft() + QPoint(5, -5));
    }
    painter.drawPixmap(1, bar + 1, client);
    return image;
}

bool Wanted(const std::vector<std::string>& names, const std::string& file)
{
    if (names.empty())
        return true;
    for (const std::string& name : names)
        if (name == file)
            return true;
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    PrepareBrowserEngine();
    QApplication app(argc, argv);
    SetMainThread();
    UseProgramFonts();
    if (argc < 2) {
        std::fprintf(stderr, "usage: vorlan-screens FOLDER [FILE...]\n");
        return 2;
    }
    QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    std::vector<std::string> names(argv + 2, argv + argc);

    TDMMain data;
    data.telStation().Open();
    TSearchHostWithoutPages mainWindow(data);
    // The browser page's stored site is found by the host's address.
    TDNS hostCache;
    SetHostCache(&hostCache);
    TScreenContext context{data, mainWindow, FreeLoopbackPort()};
    int failures = 0;
    for (const TScreen& screen : kScreens) {
        if (!Wanted(names, screen.file))
            continue;
        std::unique_ptr<QWidget> window = screen.make(context);
        window->show();
        QApplication::processEvents();
        if (screen.shown) {
            screen.shown(*window);
            QApplication::processEvents();
        }
        QString path = QDir(folder).filePath(screen.file);
        if (!Framed(*window).save(path)) {
            std::fprintf(stderr, "vorlan-screens: cannot write %s\n", path.toLocal8Bit().constData());
            ++failures;
        }
        window->hide();
        data.telStation().Cancel();
        data.tabStation().Cancel();
    }
    SetHostCache(nullptr);
    return failures == 0 ? 0 : 1;
}
