#pragma once

#include <chrono>
#include <functional>

// The main thread runs every window, every socket event and the shared lists; other
// threads hand work to it. Calls are served by the main thread's event loop, or by a
// main-thread wait (WaitOnMain), so a worker's hand-over never deadlocks a waiting main.

// Marks the calling thread as the main thread; called once, before any worker starts.
void SetMainThread();
bool IsMainThread();

// Runs fn on the main thread and waits for it; on the main thread runs it at once.
// An exception thrown by fn reaches the caller.
void Synchronize(const std::function<void()>& fn);

// True on the main thread while it runs a call that another thread handed over with
// Synchronize and is waiting for (a question the scheduler asks, say). Waiting for that
// thread from here would never end.
bool InsideHandOver();

// Queues fn for the main thread and returns at once.
void PostToMain(std::function<void()> fn);

// Runs the calls waiting for the main thread, and the main thread's own events.
// Main thread only.
void ServeMainQueue();

// On the main thread: serves the queue and the events until done() is true, or the
// time-out passes (gives false then). Elsewhere: waits without serving anything.
bool WaitOnMain(const std::function<bool()>& done,
                std::chrono::milliseconds timeout = std::chrono::milliseconds::max());

// Wakes main-thread and other waiters so that they test their condition again.
void WakeWaiters();
