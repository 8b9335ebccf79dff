#include "grabtestkit.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/settings.h"
#include "core/urldatabase.h"
#include "grab/grabstate.h"
#include "grab/grabtimings.h"
#include "grab/runsite.h"
#include "platform/profilefile.h"

void FakeScheduler::Status(const std::string& text)
{
    std::lock_guard guard(lock);
    statuses.push_back(text);
}

std::vector<std::string> FakeScheduler::Statuses() const
{
    std::lock_guard guard(lock);
    return statuses;
}

std::atomic<double> GrabFixture::clockOffset{0};

GrabFixture::GrabFixture()
{
    clockOffset = 0;
    SetClockForTest([] { return SystemNow() + clockOffset.load(); });
    Settings() = TSettings();
    Settings().minVolumn = 0;
    ResetGrabTimings();
    cache = std::make_unique<TDNS>();
    SetHostCache(cache.get());
    StartLog();
    MainWindowReady() = true;
}

GrabFixture::~GrabFixture()
{
    SetClockForTest(nullptr);
    ServeMainQueue();
    EndLog();
    SetHostCache(nullptr);
    UrlDatabase().ClearAll();
    Settings() = TSettings();
    ResetGrabTimings();
    MainWindowReady() = false;
    GrabState().StopFlag = false;
    GrabState().SetSiteAddress("");
}

int GrabFixture::Grab(const std::string& url, int level, bool cross, bool quick)
{
    GrabState().SetCurrentSiteURL(url);
    GrabState().SetCurrentAlias("alias");
    GrabState().SiteStart = Now() - siteStartBack;
    std::atomic<bool> done{false};
    int result = -1;
    std::thread site([&] {
        result = RunSite(url, level, cross, quick, scheduler);
        done = true;
        WakeWaiters();
    });
    bool finished = WaitOnMain([&] { return done.load(); }, runLimit);
    EXPECT_TRUE(finished) << "the site run did not end";
    if (!finished) {
        GrabState().StopFlag = true;
        scheduler.ended = true;
        WaitOnMain([&] { return done.load(); });
    }
    site.join();
    ServeMainQueue();
    UrlDatabase().ClearAll();
    GrabState().SetCurrentSiteURL("");
    return result;
}

std::string GrabFixture::Stored(const std::string& address, const std::string& localPath) const
{
    return folder.Read("wwwData/" + address + "/" + localPath);
}

bool GrabFixture::IsStored(const std::string& address, const std::string& localPath) const
{
    return std::filesystem::is_regular_file(folder / ("wwwData/" + address + "/" + localPath));
}

std::vector<std::string> GrabFixture::LogLines() const
{
    std::vector<std::string> lines;
    for (auto& [key, value] : TProfileFile(folder / "logfile.txt").ReadSectionValues("log"))
        lines.push_back(value);
    return lines;
}

std::vector<std::string> GrabFixture::StoreFiles() const
{
    std::vector<std::string> files;
    std::filesystem::path root = folder / "wwwData";
    if (!std::filesystem::exists(root))
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files.push_back(std::filesystem::relative(entry.path(), root).string());
    return files;
}

std::string Reply(const std::string& status, const std::vector<std::string>& headers, const std::string& body)
{
    std::string reply = "HTTP/1.0 " + status + "\r\n";
    for (const std::string& header : headers)
        reply += header + "\r\n";
    return reply + "\r\n" + body;
}
