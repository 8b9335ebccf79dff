// The window's status line and meters while a grab sends them many times a second: they
// are redrawn a few times only, and what they show last is what was sent last.
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "core/mainthread.h"
#include "core/paths.h"
#include "grab/grabstate.h"
#include "grab/runsite.h"
#include "schedule/scheduletimings.h"
#include "support/nginxserver.h"
#include "ui/busythread.h"
#include "ui/dbmeter.h"
#include "ui/windowui.h"
#include "mainwindowkit.h"

namespace {

using namespace std::chrono_literals;

// Passes every call to the window's interface and notes the status lines and meter
// values in the order they reach it.
class RecordingUi : public UserInterface {
public:
    explicit RecordingUi(UserInterface& window) : window(window) { SetUserInterface(this); }
    ~RecordingUi() override { SetUserInterface(nullptr); }

    void Message(const std::string& text) override { window.Message(text); }
    void Error(const std::string& text) override { window.Error(text); }
    void Warning(const std::string& text) override { window.Warning(text); }
    bool Ask(const std::string& text) override { return window.Ask(text); }
    void Title(const std::string& text) override { window.Title(text); }
    void Animate(bool on) override { window.Animate(on); }
    void Status(const std::string& text) override
    {
        statuses.push_back(text);
        window.Status(text);
    }
    void Meter(int slot, int position) override
    {
        ++meterCalls;
        lastMeter[slot] = position;
        window.Meter(slot, position);
    }

    std::vector<std::string> statuses;
    std::map<int, int> lastMeter;
    int meterCalls = 0;

private:
    UserInterface& window;
};

class WindowPacing : public ::testing::Test, public MainWindowFixture {
protected:
    // The scheduler reads its timings while it runs: they go back only after the window
    // and its scheduler have ended, and also when the test stopped early.
    ~WindowPacing() override
    {
        Destroy();
        ResetScheduleTimings();
    }

    // Serves the main thread until nothing waits to be shown any more.
    void Settle() { QTest::qWait(TWindowUserInterface::ShowIntervalMs * 4); }
};

TEST_F(WindowPacing, ABurstIsShownAtOnceAtItsStartAndAtTheEndOfTheIntervalWithItsLast)
{
    Open();
    TBusyThread busy;
    TWindowUserInterface windowUi(Window(), busy);
    int redraws = 0;
    QObject::connect(Window().statusLabel, &QLineEdit::textChanged, [&] { ++redraws; });

    windowUi.Status("first");
    windowUi.Meter(2, 1);
    EXPECT_EQ(Window().statusLabel->text().toStdString(), "first");
    EXPECT_EQ(Window().dbmeter(2)->Position(), 1);
    for (int i = 0; i < 1000; ++i) {
        windowUi.Status("chunk " + std::to_string(i));
        windowUi.Meter(2, i % 1000 + 24);
    }
    EXPECT_EQ(Window().statusLabel->text().toStdString(), "first");
    Settle();
    EXPECT_EQ(Window().statusLabel->text().toStdString(), "chunk 999");
    EXPECT_EQ(Window().dbmeter(2)->Position(), 1023);
    EXPECT_EQ(redraws, 2);

    // Quiet for the interval: the next change is shown at once again.
    windowUi.Meter(2, 0);
    EXPECT_EQ(Window().dbmeter(2)->Position(), 0);
}

TEST_F(WindowPacing, AGrabsStatusLinesAndMeterValuesReachTheWindowInTheirOrderOfArrival)
{
    if (!NginxServer::Available())
        GTEST_SKIP() << "nginx is not installed";
    TempFolder site(TempFolder::Use::Plain);
    std::string index = "<html>";
    for (int n = 0; n < 12; ++n) {
        index += "<a href=\"page" + std::to_string(n) + ".html\">page</a>";
        site.Write("page" + std::to_string(n) + ".html", "<html>" + std::string(20000 + 997 * n, 'x') + "</html>");
    }
    site.Write("index.html", index + "</html>");
    NginxServer nginx(site.Path());
    ASSERT_TRUE(nginx.Running()) << nginx.Error();

    TScheduleTimings timings;
    timings.idlePollMs = 50;
    SetScheduleTimingsForTest(timings);
    std::atomic<bool> grabbed{false};
    Open([&](const std::string& url, int level, bool cross, bool quick, TGrabScheduler& scheduler) {
        int result = RunSite(url, level, cross, quick, scheduler);
        grabbed = true;
        WakeWaiters();
        return result;
    });
    TBusyThread busy;
    TWindowUserInterface windowUi(Window(), busy);
    RecordingUi recorder(windowUi);
    AddEntry({"local site", nginx.Url("/index.html"), HoursFromNow(-1), 0, 1, "RdBDaily", 0, false, 1});
    ASSERT_TRUE(WaitOnMain([&] { return grabbed.load(); }, 60s));
    WaitOnMain([&] { return GrabState().CurrentSiteURL().empty(); }, 10s);
    Settle();

    // Twelve pages of 20 KB and more: a status line and two meter values per kilobyte.
    EXPECT_GT(recorder.statuses.size(), 200u);
    EXPECT_GT(recorder.meterCalls, 400);
    ASSERT_FALSE(recorder.statuses.empty());
    EXPECT_EQ(Window().statusLabel->text().toStdString(), recorder.statuses.back());
    for (auto [slot, position] : recorder.lastMeter)
        EXPECT_EQ(Window().dbmeter(slot)->Position(), position) << slot;
    EXPECT_TRUE(FileExists(folder.Home() / "wwwData/127.0.0.1/page11.html"));
}

}  // namespace
