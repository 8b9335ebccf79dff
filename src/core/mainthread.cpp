#include "core/mainthread.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <future>
#include <mutex>
#include <thread>

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace {

std::thread::id mainThreadId;

struct TQueueState {
    std::mutex lock;
    // The main thread waits on the first, other threads on the second: a call queued for
    // the main thread wakes the main thread alone.
    std::condition_variable mainWakes;
    std::condition_variable otherWakes;
    std::deque<std::function<void()>> calls;
};

// Never destroyed: a thread that frees itself wakes the waiters as its last step, which
// may come while the process is already running its exit.
TQueueState& State()
{
    static TQueueState* state = new TQueueState;
    return *state;
}

unsigned long long wakeCount = 0;
// An event asking the main thread's loop to serve the queue is on its way; the calls
// queued meanwhile need no event of their own.
bool nudged = false;
int handOversRunning = 0;  // main thread only

// Asks the main thread's event loop to serve the queue.
void NudgeEventLoop()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [] { ServeMainQueue(); }, Qt::QueuedConnection);
}

bool RunQueued()
{
    bool ranAny = false;
    for (;;) {
        std::function<void()> fn;
        {
            std::lock_guard guard(State().lock);
            if (State().calls.empty())
                return ranAny;
            fn = std::move(State().calls.front());
            State().calls.pop_front();
        }
        fn();
        ranAny = true;
    }
}

}  // namespace

void SetMainThread()
{
    mainThreadId = std::this_thread::get_id();
}

bool IsMainThread()
{
    return std::this_thread::get_id() == mainThreadId;
}

void PostToMain(std::function<void()> fn)
{
    bool nudge;
    {
        std::lock_guard guard(State().lock);
        State().calls.push_back(std::move(fn));
        ++wakeCount;
        nudge = !nudged;
        nudged = true;
    }
    State().mainWakes.notify_all();
    if (nudge)
        NudgeEventLoop();
}

void Synchronize(const std::function<void()>& fn)
{
    if (IsMainThread()) {
        fn();
        return;
    }
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    PostToMain([&fn, done] {
        ++handOversRunning;
        try {
            fn();
            --handOversRunning;
            done->set_value();
        } catch (...) {
            --handOversRunning;
            done->set_exception(std::current_exception());
        }
    });
    finished.get();
}

bool InsideHandOver()
{
    return IsMainThread() && handOversRunning > 0;
}

void ServeMainQueue()
{
    {
        // Calls queued from now on ask for another event: this one may have served its last.
        std::lock_guard guard(State().lock);
        nudged = false;
    }
    RunQueued();
}

void WakeWaiters()
{
    {
        std::lock_guard guard(State().lock);
        ++wakeCount;
    }
    State().mainWakes.notify_all();
    State().otherWakes.notify_all();
}

bool WaitOnMain(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    using Clock = std::chrono::steady_clock;
    const bool unlimited = timeout == std::chrono::milliseconds::max();
    const Clock::time_point deadline = unlimited ? Clock::time_point::max() : Clock::now() + timeout;
    const bool onMain = IsMainThread();
    for (;;) {
        unsigned long long seen;
        {
            std::lock_guard guard(State().lock);
            seen = wakeCount;
        }
        if (onMain) {
            RunQueued();
            if (QCoreApplication::instance())
                QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        if (done())
            return true;
        if (!unlimited && Clock::now() >= deadline)
            return false;
        // Socket events arrive through the event loop, which does not wake us: look
        // again after a short while even without a wake.
        std::unique_lock lock(State().lock);
        Clock::time_point next = Clock::now() + std::chrono::milliseconds(onMain ? 2 : 50);
        if (next > deadline)
            next = deadline;
        (onMain ? State().mainWakes : State().otherWakes).wait_until(lock, next, [&] { return wakeCount != seen; });
    }
}
