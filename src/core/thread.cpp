#include "core/thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include "core/mainthread.h"

namespace {

void ApplyPriority(TThread::Priority priority)
{
    // Linux gives each thread its own nice value. Raising one needs privileges; without
    // them the thread keeps the normal priority, which only costs responsiveness.
    int nice = priority == TThread::Priority::Lower ? 5 : priority == TThread::Priority::Highest ? -5 : 0;
    if (nice != 0)
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), nice);
}

}  // namespace

TThread::~TThread()
{
    if (worker.joinable()) {
        if (worker.get_id() == std::this_thread::get_id()) {
            worker.detach();
        } else {
            terminated = true;
            WaitFor();
        }
    }
}

void TThread::Start()
{
    if (started.exchange(true))
        return;
    // A thread that frees itself may be gone before the constructor below returns, so
    // nothing of it is touched afterwards; nobody waits for it, so its handle is let go.
    bool freeSelf = freeOnTerminate;
    std::thread thread([this] { Run(); });
    if (freeSelf)
        thread.detach();
    else
        worker = std::move(thread);
}

void TThread::Terminate()
{
    terminated = true;
    WakeWaiters();
}

void TThread::Run()
{
    ApplyPriority(priority);
    try {
        Execute();
    } catch (...) {
        // An error that escapes Execute ends the thread, as the toolkit's thread does;
        // the thread's own code reports what it can handle.
    }
    if (OnTerminate)
        Synchronize(OnTerminate);
    bool freeSelf = freeOnTerminate;
    finished = true;
    WakeWaiters();
    if (freeSelf)
        delete this;
}

void TThread::WaitFor()
{
    if (!started)
        return;
    WaitOnMain([this] { return finished.load(); });
    if (worker.joinable() && worker.get_id() != std::this_thread::get_id())
        worker.join();
}
