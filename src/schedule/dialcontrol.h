#pragma once

#include <atomic>
#include <functional>
#include <string>

#include "schedule/dialaccount.h"

class TProfileFile;

// The dial program: "dial" in the folder of the running program. Tests name another
// program; an empty path puts the usual one back.
std::string DialProgram();
void SetDialProgramForTest(const std::string& path);

// The caller's side of dial-up networking. It writes the request into "autodial.ini",
// starts the dial program beside us ("dial 1" dials, "dial 2" hangs up) and waits for
// its answer in the same file. Only one exchange runs at a time in the process, since all
// share that file: Dial, HangUp and EnsureConnection wait for one another. The waits end
// early when the owner is told to end or StopFlag is set, and give up when the dial
// program has ended without answering. A dial program left running by such a wait is
// waited for before the next exchange writes its request, and ended when a stop is asked
// or it takes too long. Any thread may call them; on the main thread the waits keep serving its queue.
class TDialControl {
public:
    using TStatusSink = std::function<void(const std::string&)>;
    using TEndTest = std::function<bool()>;

    TDialControl(const TDialAccount& account, TStatusSink status, TEndTest endRequested);
    TDialControl(const TDialControl&) = delete;
    TDialControl& operator=(const TDialControl&) = delete;

    // One dial; does nothing when a field of the account is blank.
    void Dial();
    void HangUp();
    // True when the program may go on: on a LAN at once; on dial-up after up to five
    // attempts, or at once when a stop was requested. False, after telling the log and
    // the user, when every attempt failed.
    bool EnsureConnection();
    // The hang-up at the end of a scheduled run; false at once on a LAN, else whether
    // the hang-up succeeded.
    bool FinishingHangUp();

    bool Dialled() const { return dialled; }
    bool DialSuccess() const { return dialSuccess; }
    bool HangUpSuccess() const { return hangUpSuccess; }

private:
    enum class TAnswer { NotStarted, Given, Stopped, Missing };

    bool DialOnce();
    TAnswer Exchange(const TProfileFile& file, const std::string& job);
    void AwaitEarlierDial();
    bool Stopping() const;
    void Pause(int milliseconds) const;

    const TDialAccount& account;
    TStatusSink status;
    TEndTest endRequested;
    std::atomic<bool> dialled{false};
    std::atomic<bool> dialSuccess{false};
    std::atomic<bool> hangUpSuccess{false};
};
