#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

#include <QEventLoop>
#include <QTimer>

#include <dlfcn.h>
#include <pthread.h>

#include "core/mainthread.h"
#include "core/thread.h"

namespace {

std::atomic<bool> newThreadFirst{false};
std::atomic<bool> quickFreed{false};

}  // namespace

// Every thread of the suite is made here. While newThreadFirst is set, the next creation
// returns only once the new thread has freed its object, as a scheduler that runs the new
// thread at once may have it.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*),
                              void* argument)
{
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto real = reinterpret_cast<Create>(::dlsym(RTLD_NEXT, "pthread_create"));
    int result = real(thread, attributes, start, argument);
    if (result == 0 && newThreadFirst.exchange(false)) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!quickFreed && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return result;
}

namespace {

// A self-freeing thread whose freed memory is kept, wiped, to see whether anything writes
// into it afterwards.
class Quick : public TThread {
public:
    static void operator delete(void* memory, size_t size)
    {
        std::memset(memory, 0, size);
        kept = memory;
        keptSize = size;
        quickFreed = true;
    }
    static void Release() { ::operator delete(kept); }
    static bool Untouched()
    {
        const auto* bytes = static_cast<const unsigned char*>(kept);
        for (size_t i = 0; i < keptSize; ++i)
            if (bytes[i] != 0)
                return false;
        return true;
    }

protected:
    void Execute() override {}

private:
    static inline void* kept = nullptr;
    static inline size_t keptSize = 0;
};

class Worker : public TThread {
public:
    explicit Worker(std::function<void(Worker&)> body) : body(std::move(body)) {}
    bool IsTerminated() const { return Terminated(); }

protected:
    void Execute() override { body(*this); }

private:
    std::function<void(Worker&)> body;
};

TEST(Thread, SynchronizeRunsOnTheMainThreadWhileItWaitsForTheWorker)
{
    std::atomic<bool> ranOnMain{false};
    Worker worker([&](Worker&) { Synchronize([&] { ranOnMain = IsMainThread(); }); });
    worker.Start();
    worker.WaitFor();  // would deadlock if the wait did not serve the hand-over
    EXPECT_TRUE(ranOnMain);
    EXPECT_TRUE(worker.Finished());
}

TEST(Thread, TheMainThreadKnowsWhenItRunsACallAWorkerWaitsFor)
{
    EXPECT_FALSE(InsideHandOver());
    std::atomic<bool> inside{false};
    Worker worker([&](Worker&) {
        Synchronize([&] { inside = InsideHandOver(); });
        inside = inside && !InsideHandOver();  // and the worker itself never is
    });
    worker.Start();
    worker.WaitFor();
    EXPECT_TRUE(inside);
    EXPECT_FALSE(InsideHandOver());
    bool direct = true;
    Synchronize([&] { direct = InsideHandOver(); });
    EXPECT_FALSE(direct);
}

TEST(Thread, SynchronizeOnTheMainThreadRunsAtOnce)
{
    bool ran = false;
    Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(Thread, AnErrorInsideSynchronizeReachesTheWorker)
{
    std::string caught;
    Worker worker([&](Worker&) {
        try {
            Synchronize([] { throw std::runtime_error("from main"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
    });
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(caught, "from main");
}

TEST(Thread, TerminateIsARequestTheWorkerSees)
{
    Worker worker([](Worker& self) {
        while (!self.IsTerminated())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    worker.Start();
    worker.Terminate();
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
}

TEST(Thread, TheEndHandlerRunsOnTheMainThreadAndSelfFreeingThreadsGo)
{
    std::atomic<bool> handlerOnMain{false};
    std::atomic<bool> destroyed{false};
    struct Flagged : Worker {
        std::atomic<bool>& flag;
        Flagged(std::atomic<bool>& flag) : Worker([](Worker&) {}), flag(flag) {}
        ~Flagged() override { flag = true; }
    };
    auto* worker = new Flagged(destroyed);
    worker->OnTerminate = [&] { handlerOnMain = IsMainThread(); };
    worker->SetFreeOnTerminate(true);
    worker->Start();
    EXPECT_TRUE(WaitOnMain([&] { return destroyed.load(); }, std::chrono::seconds(10)));
    EXPECT_TRUE(handlerOnMain);
}

TEST(Thread, StartLeavesASelfFreeingThreadAloneOnceItRuns)
{
    auto* quick = new Quick;
    quick->SetFreeOnTerminate(true);
    newThreadFirst = true;
    quick->Start();
    ASSERT_TRUE(quickFreed) << "the thread did not end while it was being started";
    EXPECT_TRUE(Quick::Untouched()) << "Start wrote into the thread after it had freed itself";
    Quick::Release();
}

// The event loop alone, without a wait of ours, serves every call queued from several
// threads at once, each thread's in the order it queued them.
TEST(Thread, TheEventLoopServesEveryQueuedCallInTheOrderOfEachThread)
{
    constexpr int kThreads = 4;
    constexpr int kCalls = 500;
    std::vector<std::vector<int>> served(kThreads);  // the main thread's only
    int total = 0;
    QEventLoop loop;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int n = 0; n < kCalls; ++n)
                PostToMain([&, t, n] {
                    served[t].push_back(n);
                    if (++total == kThreads * kCalls)
                        loop.quit();
                });
        });
    QTimer::singleShot(10000, &loop, [&] { loop.quit(); });
    loop.exec();
    for (std::thread& thread : threads)
        thread.join();
    ASSERT_EQ(total, kThreads * kCalls);
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(served[t].size(), static_cast<size_t>(kCalls)) << t;
        for (int n = 0; n < kCalls; ++n)
            EXPECT_EQ(served[t][n], n) << t;
    }
}

TEST(Thread, AWaitOnMainGivesUpAtItsTimeOut)
{
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitOnMain([] { return false; }, std::chrono::milliseconds(50)));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
}

}  // namespace
