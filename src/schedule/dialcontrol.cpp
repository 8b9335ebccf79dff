#include "schedule/dialcontrol.h"

#include <chrono>
#include <exception>
#include <mutex>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/userinterface.h"
#include "grab/grabstate.h"
#include "platform/process.h"
#include "platform/profilefile.h"
#include "schedule/scheduletimings.h"

namespace {

const char* const kCheckDialUp = "請檢查你的撥號網路是否正常?";
const int kAttempts = 5;

std::recursive_mutex exchangeLock;

// Holds the process's one exchange. The wait for it keeps the main thread serving its
// queue, so a worker that holds the lock and hands a call to the main thread can finish.
class TExchangeGuard {
public:
    TExchangeGuard()
    {
        WaitOnMain([] { return exchangeLock.try_lock(); });
    }
    ~TExchangeGuard()
    {
        exchangeLock.unlock();
        WakeWaiters();
    }
    TExchangeGuard(const TExchangeGuard&) = delete;
    TExchangeGuard& operator=(const TExchangeGuard&) = delete;
};

// It holds the account password.
TProfileFile ExchangeFile()
{
    return TProfileFile("autodial.ini", TProfileFile::Access::OwnerOnly);
}

bool Answered(const TProfileFile& file)
{
    return file.ReadInteger("retValue", "processing", 1) == 0;
}

// The dial program of the last exchange while it may still run: a wait ended by a stop
// leaves it running, and the next exchange must neither start beside it nor read its
// answer. Under exchangeLock.
pid_t earlierDial = 0;

std::string dialProgramForTest;

}  // namespace

std::string DialProgram()
{
    return dialProgramForTest.empty() ? JoinPath(ExecutableFolder(), "dial") : dialProgramForTest;
}

void SetDialProgramForTest(const std::string& path)
{
    dialProgramForTest = path;
}

TDialControl::TDialControl(const TDialAccount& account, TStatusSink status, TEndTest endRequested)
    : account(account), status(std::move(status)), endRequested(std::move(endRequested))
{
}

bool TDialControl::Stopping() const
{
    return endRequested() || GrabState().StopFlag;
}

void TDialControl::Pause(int milliseconds) const
{
    WaitOnMain([this] { return Stopping(); }, std::chrono::milliseconds(milliseconds));
}

TDialControl::TAnswer TDialControl::Exchange(const TProfileFile& file, const std::string& job)
{
    pid_t pid = SpawnProgram(DialProgram(), {job});
    if (pid <= 0)
        return TAnswer::NotStarted;
    TAnswer answer;
    for (;;) {
        if (Answered(file)) {
            answer = TAnswer::Given;
            break;
        }
        if (Stopping()) {
            answer = TAnswer::Stopped;
            break;
        }
        if (!ProgramRunning(pid)) {
            // It may have answered just before it ended.
            pid = 0;
            answer = Answered(file) ? TAnswer::Given : TAnswer::Missing;
            break;
        }
        Pause(ScheduleTimings().answerPollMs);
    }
    if (pid > 0)
        earlierDial = pid;
    return answer;
}

void TDialControl::AwaitEarlierDial()
{
    if (earlierDial <= 0)
        return;
    pid_t pid = earlierDial;
    earlierDial = 0;
    bool ended = false;
    // A stop asked meanwhile is a stop of what that program still does.
    WaitOnMain([&] { return (ended = ended || !ProgramRunning(pid)) || Stopping(); },
               std::chrono::milliseconds(ScheduleTimings().earlierDialWaitMs));
    if (!ended)
        EndProgram(pid);
}

void TDialControl::Dial()
{
    DialOnce();
}

bool TDialControl::DialOnce()
{
    TExchangeGuard guard;
    dialled = false;
    try {
        std::string userName = account.UserName();
        std::string password = account.Password();
        std::string telephone = account.Telephone();
        if (Trim(password).empty() || Trim(telephone).empty() || Trim(userName).empty())
            return false;
        AwaitEarlierDial();
        TProfileFile file = ExchangeFile();
        file.WriteString("parameters", "username", userName);
        file.WriteString("parameters", "password", password);
        file.WriteString("parameters", "TelNum", telephone);
        file.WriteString("retValue", "processing", "1");
        file.WriteString("retValue", "success", "0");
        TAnswer answer = Exchange(file, "1");
        if (answer == TAnswer::Missing) {
            dialSuccess = false;
            return false;
        }
        bool success = file.ReadBool("retValue", "success", false);
        if (answer != TAnswer::NotStarted)
            dialled = success;
        dialSuccess = success;
    } catch (const std::exception&) {
        // An exchange file that cannot be written is a failed attempt; EnsureConnection
        // tells the user once every attempt has failed.
    }
    return dialled;
}

void TDialControl::HangUp()
{
    TExchangeGuard guard;
    AwaitEarlierDial();
    TProfileFile file = ExchangeFile();
    try {
        file.WriteString("retValue", "processing", "1");
        Exchange(file, "2");
    } catch (const std::exception&) {
        // Not reported: the outcome is read back below in every case, and a hang-up that
        // did not happen leaves the connection to the next one.
    }
    hangUpSuccess = file.ReadBool("retValue", "success", false);
}

bool TDialControl::EnsureConnection()
{
    if (Settings().USE_lan)
        return true;
    {
        TExchangeGuard guard;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            status("第" + std::to_string(attempt) + "次嘗試撥號網路");
            bool connected = DialOnce();
            if (!connected) {
                HangUp();
                Pause(ScheduleTimings().dialRetryMs);
            }
            if (connected || Stopping())
                return true;
        }
    }
    // Told with the exchange free, so that the main thread may dial while the box is up.
    TLog::Line(kCheckDialUp);
    Synchronize([] { Ui().Message(kCheckDialUp); });
    return false;
}

bool TDialControl::FinishingHangUp()
{
    if (Settings().USE_lan)
        return false;
    HangUp();
    Pause(ScheduleTimings().hangUpSettleMs);
    status("已經掛斷撥號網路");
    return hangUpSuccess;
}
