#pragma once

#include <map>
#include <memory>
#include <string>

#include <QPointer>

#include "core/userinterface.h"
#include "ui/grabokdialog.h"
#include "ui/paceddisplay.h"

class QLineEdit;
class QMainWindow;
class QWidget;
class TAnimated;
class TBusyThread;
class Tdbmeter;

// The user interface in windows: message boxes, the busy window and the small dialogs that
// the scheduler and the grab threads ask for, and the main window's controls by their
// names: the status line "statusLabel", the meters "dbmeter1" to "dbmeter5", the animations
// "Animated1" and "Animate2" (a window without one of them shows nothing of it). Runs on
// the main thread, as every UserInterface call does.
// A grab sends a status line and two meter positions for every kilobyte it receives, far
// more than anyone can read and each a redraw: the status line and each meter show a
// change at once when they have not changed for ShowIntervalMs, else when that interval
// ends, the latest change then. The last one shown is always the last sent.
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

    static constexpr int ShowIntervalMs = 40;

private:
    QWidget* BoxParent() const;
    // The window's controls, found by name once.
    QLineEdit* StatusLine();
    Tdbmeter* MeterOf(int slot);
    TAnimated* Animation(QPointer<TAnimated>& control, const char* name);

    QMainWindow& window;
    TBusyThread& busy;
    QPointer<TgrabOkDialog> grabOk;  // owned by the window
    QPointer<QLineEdit> statusLine;
    std::map<int, QPointer<Tdbmeter>> meters;
    QPointer<TAnimated> mainAnimation;
    QPointer<TAnimated> browserAnimation;
    TPacedDisplay statusPace{ShowIntervalMs};
    std::map<int, std::unique_ptr<TPacedDisplay>> meterPaces;
};
