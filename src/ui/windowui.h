#pragma once

#include <QPointer>

#include "core/userinterface.h"
#include "ui/grabokdialog.h"

class QMainWindow;
class QWidget;
class TBusyThread;

// The user interface in windows: message boxes, the busy window and the small dialogs that
// the scheduler and the grab threads ask for, and the main window's controls by their
// names: the status line "statusLabel", the meters "dbmeter1" to "dbmeter5", the animations
// "Animated1" and "Animate2" (a window without one of them shows nothing of it). Runs on
// the main thread, as every UserInterface call does.
class TWindowUserInterface : public UserInterface {
public:
    // window and busy must outlive this object.
    TWindowUserInterface(QMainWindow& window, TBusyThread& busy);

    void Message(const std::string& text) override;
    void Error(const std::string& text) override;
    void Warning(const std::string& text) override;
    bool Ask(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void Status(const std::string& text) override;
    void Title(const std::string& text) override;
    void Meter(int slot, int position) override;
    void Animate(bool on) override;
    void BrowserAnimate(bool on) override;
    void WarningDialog(const std::string& caption, const std::string& text) override;
    bool AskGrabNow(const std::string& url, const std::string& moment) override;
    void SiteFinished(const std::string& url) override;
    void ShowBusy(const std::string& text) override;
    void HideBusy() override;
    void Beep() override;

    // The site-finished notice, once one was shown.
    TgrabOkDialog* SiteFinishedNotice() const { return grabOk; }

private:
    QWidget* BoxParent() const;

    QMainWindow& window;
    TBusyThread& busy;
    QPointer<TgrabOkDialog> grabOk;  // owned by the window
};
