#pragma once

#include <memory>
#include <string>
#include <vector>

class TfmBusy;

// The busy window's companion, made once when the program starts: it owns the busy window
// and keeps the text shown. Nested operations may each show their own text; the window
// goes away, giving back the mouse and the pointer, when the outermost one hides it.
class TBusyThread {
public:
    TBusyThread();
    ~TBusyThread();
    TBusyThread(const TBusyThread&) = delete;
    TBusyThread& operator=(const TBusyThread&) = delete;

    void Show(const std::string& text);
    void Hide();
    // The text shown now; empty while the window is hidden.
    std::string Text() const;
    TfmBusy& Window() const { return *window; }

private:
    std::unique_ptr<TfmBusy> window;
    std::vector<std::string> texts;
};
