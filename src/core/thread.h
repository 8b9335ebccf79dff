#pragma once

#include <atomic>
#include <functional>
#include <thread>

// A worker thread in the manner of the toolkit's thread class: created suspended and
// started with Start, asked to end with Terminate (a flag that Execute tests), waited for with
// WaitFor, optionally freeing itself when done, with a handler run on the main thread
// when Execute has returned.
class TThread {
public:
    enum class Priority { Lower, Normal, Highest };

    TThread() = default;
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    void Terminate();
    bool Terminated() const { return terminated; }
    bool Finished() const { return finished; }
    // Waits until Execute and the end handler have run; on the main thread the wait
    // keeps serving the main thread's queue and events.
    void WaitFor();

    // The thread deletes itself after its end handler. Set before Start.
    void SetFreeOnTerminate(bool value) { freeOnTerminate = value; }
    void SetPriority(Priority value) { priority = value; }
    // Runs on the main thread after Execute, before the thread counts as finished.
    std::function<void()> OnTerminate;

protected:
    virtual void Execute() = 0;

private:
    void Run();

    std::thread worker;
    std::atomic<bool> started{false};
    std::atomic<bool> terminated{false};
    std::atomic<bool> finished{false};
    bool freeOnTerminate = false;
    Priority priority = Priority::Normal;
};
