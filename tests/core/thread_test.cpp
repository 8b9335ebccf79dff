#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "core/mainthread.h"
#include "core/thread.h"

namespace {

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

TEST(Thread, AWaitOnMainGivesUpAtItsTimeOut)
{
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitOnMain([] { return false; }, std::chrono::milliseconds(50)));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
}

}  // namespace
