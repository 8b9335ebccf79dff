#include "mainwindowkit.h"

#include <stdexcept>

#include <QApplication>
#include <QImage>
#include <QTest>

#include "core/mainthread.h"
#include "data/table.h"
#include "server/pageserver.h"

const QColor kNormalColour(200, 200, 200);
const QColor kDownColour(10, 20, 30);
const QColor kUpColour(40, 200, 40);
const QColor kFocusColour(250, 200, 0);
const QColor kTickColour(0, 0, 255);
const QColor kFailureColour(255, 0, 0);
const QColor kCrossColour(0, 128, 128);
const QColor kIconColours[4] = {{255, 0, 255}, {0, 255, 255}, {128, 0, 0}, {0, 0, 128}};

namespace {

void WriteIcon(const TempFolder& folder, int number, const QColor& colour)
{
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(colour);
    icon.save(QString::fromStdString(folder / ("system/icon" + std::to_string(number) + ".ico")), "ICO");
}

}  // namespace

TDateTime HoursFromNow(int hours)
{
    CivilTime now = DecodeDateTime(Now() + hours / 24.0);
    now.millisecond = 0;
    return EncodeDateTime(now);
}

MainWindowFixture::MainWindowFixture() : saved(Settings())
{
    const TempFolder& home = folder.Home();
    WritePicture(home, "normal.bmp", {793, 65}, kNormalColour);
    WritePicture(home, "down.bmp", {793, 65}, kDownColour);
    WritePicture(home, "up.bmp", {793, 65}, kUpColour);
    WritePicture(home, "focus.bmp", {793, 65}, kFocusColour);
    WritePicture(home, "right2.bmp", {16, 16}, kTickColour);
    WritePicture(home, "wrong.bmp", {12, 12}, kFailureColour);
    WritePicture(home, "cross.bmp", {14, 10}, kCrossColour);
    WritePicture(home, "animate.bmp", {960, 52}, Qt::gray);
    WritePicture(home, "browse.bmp", {81, 27}, Qt::gray);
    WritePicture(home, "info.bmp", {16, 16}, Qt::gray);
    for (int number = 1; number <= 4; ++number)
        WriteIcon(home, number, kIconColours[number - 1]);
    Settings().USE_lan = true;
    Settings().RemindForLoad = false;
    Settings().RemindFetchOver = false;
}

MainWindowFixture::~MainWindowFixture()
{
    window.reset();
    Settings() = saved;
}

void MainWindowFixture::Open(TWatchDog::TSiteRun runSite)
{
    if (!runSite)
        runSite = [](const std::string&, int, bool, bool, TGrabScheduler&) { return 0; };
    window = std::make_unique<TfmMain>(folder.Data(), account, std::move(runSite));
    window->PageServer().TCPServer1.Port = "0";
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        throw std::runtime_error("the main window was not shown");
    if (!WaitOnMain([this] { return window->Activated(); }, std::chrono::seconds(5)))
        throw std::runtime_error("the main window was not activated");
}

void MainWindowFixture::AddEntry(const ScheduleEntry& entry)
{
    TTable& station = Station();
    station.Append();
    station.FieldByName("Index").SetAsDateTime(EncodeDate(2001, 1, 1) + (++keys) / 86400.0);
    station.FieldByName("Alias").SetAsString(entry.alias);
    station.FieldByName("URL").SetAsString(entry.url);
    station.FieldByName("desireDateTime").SetAsDateTime(entry.desired);
    station.FieldByName("NextDesireDateTime").SetAsDateTime(entry.desired + 1);
    if (entry.status >= 0)
        station.FieldByName("StatusCode").SetAsInteger(entry.status);
    station.FieldByName("kind_serial").SetAsInteger(entry.kind);
    station.FieldByName("Frequency").SetAsString(entry.frequency);
    station.FieldByName("DayType").SetAsInteger(entry.dayType);
    station.FieldByName("QuickMode").SetAsBoolean(entry.quick);
    station.FieldByName("Depth").SetAsInteger(entry.depth);
    station.FieldByName("Cross").SetAsBoolean(false);
    station.Post();
}

void MainWindowFixture::AddEntries(int count, int kinds)
{
    for (int i = 0; i < count; ++i)
        AddEntry({"site " + std::to_string(i), "http://www.site" + std::to_string(i) + ".com/", HoursFromNow(24),
                  i % 4, i % kinds + 1});
}

QColor MainWindowFixture::PixelAt(QWidget* widget, QPoint point)
{
    QImage shot = window->grab().toImage();
    return shot.pixelColor(widget->mapTo(window.get(), point));
}
