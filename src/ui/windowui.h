#pragma once

#include "core/userinterface.h"

class QMainWindow;

// The user interface in windows: message boxes over the main window and its status bar.
// Runs on the main thread, as every UserInterface call does.
class TWindowUserInterface : public UserInterface {
public:
    explicit TWindowUserInterface(QMainWindow& window);

    void Message(const std::string& text) override;
    void Error(const std::string& text) override;
    void Warning(const std::string& text) override;
    bool Ask(const std::string& text) override;
    void Status(const std::string& text) override;
    void Title(const std::string& text) override;
    void WarningDialog(const std::string& caption, const std::string& text) override;
    bool AskGrabNow(const std::string& url, const std::string& moment) override;
    void SiteFinished(const std::string& url) override;
    void Beep() override;

private:
    QMainWindow& window;
};
