#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "core/consoleui.h"

class QTimer;

// vorlan-grab's console. On a terminal it keeps one progress line (pages stored, bytes,
// time taken, the page being grabbed) redrawn in place; elsewhere (a log file, a pipe)
// it prints only what needs reading: messages, warnings and errors. Verbose prints every
// status line as well, one per line. Main thread only, as every user interface.
class TGrabConsole : public ConsoleUserInterface {
public:
    enum class Mode { Progress, Quiet, Verbose };

    TGrabConsole(Mode mode, std::FILE* out);
    ~TGrabConsole() override;

    // Progress on a terminal, Quiet elsewhere, Verbose when asked for.
    static Mode ModeFor(std::FILE* out, bool verbose);

    void Message(const std::string& text) override;
    void Error(const std::string& text) override;
    void Warning(const std::string& text) override;
    void Status(const std::string& text) override;
    void WarningDialog(const std::string& caption, const std::string& text) override;

    // Prints a line of its own (the start, a summary), keeping the progress line below.
    void Line(const std::string& text);
    // Starts redrawing the progress line; Finish draws it a last time and ends it.
    void Start();
    void Finish();

    // The progress line for these figures, cut to width columns.
    static std::string ProgressText(long long pages, long long bytes, std::chrono::seconds elapsed,
                                    const std::string& page, int width);

private:
    void Draw();
    void ClearProgress();
    int Width() const;

    Mode mode;
    std::FILE* out;
    std::unique_ptr<QTimer> timer;
    std::chrono::steady_clock::time_point started;
    bool drawn = false;  // a progress line stands on the terminal's last line
};
