#pragma once

#include <functional>

// Turns SIGTERM and SIGINT into a call on the main thread's event loop, so that a desktop
// logout or a Ctrl-C closes the program as the user would and the settings still reach
// the disk. Call once on the main thread after the application object exists.
void OnQuitSignal(std::function<void()> handler);
