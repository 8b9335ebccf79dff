#pragma once

#include <atomic>
#include <string>

// What the core, network, grab, server and schedule code needs of the user: messages,
// questions and progress. The main window implements it; vorlan-grab on the console;
// tests with a script. Its methods are called on the main thread only: code on other
// threads hands the call over with Synchronize.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Message boxes with OK: information, error ("錯誤代碼:..."), warning.
    virtual void Message(const std::string& text) = 0;
    virtual void Error(const std::string& text) = 0;
    virtual void Warning(const std::string& text) = 0;
    // A question with Yes and No.
    virtual bool Ask(const std::string& text) = 0;
    // A warning with OK and Cancel: true for OK.
    virtual bool Confirm(const std::string& text) { return Ask(text); }

    // The main window's status line.
    virtual void Status(const std::string& text) = 0;
    // The application title (task bar) and hint text.
    virtual void Title(const std::string& text) { (void)text; }
    // The grab threads' level meters, slots 1 to 5.
    virtual void Meter(int slot, int position) { (void)slot, (void)position; }
    // A warning under a caption that does not wait for the user.
    virtual void WarningDialog(const std::string& caption, const std::string& text) { (void)caption, (void)text; }
    // The scheduler's reminder before a grab: true for "立即下載", false for "下次下載".
    virtual bool AskGrabNow(const std::string& url, const std::string& moment) { (void)url, (void)moment; return true; }
    // The notice that a scheduled site is finished; does not wait for the user.
    virtual void SiteFinished(const std::string& url) { (void)url; }
    // The main window's animation and the browser page's animation.
    virtual void Animate(bool on) { (void)on; }
    virtual void BrowserAnimate(bool on) { (void)on; }
    // The busy window with its text, and its hiding.
    virtual void ShowBusy(const std::string& text) { (void)text; }
    virtual void HideBusy() {}
    virtual void Beep() {}
};

// The process's user interface; a console one until another is installed.
UserInterface& Ui();
// Installs ui (not owned); nullptr puts the console one back.
void SetUserInterface(UserInterface* ui);

// The main window's ready flag: status lines of the grab threads and the scheduler reach
// the window only while it is set. Programs without a window set it for their console.
std::atomic<bool>& MainWindowReady();
