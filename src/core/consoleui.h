#pragma once

#include "core/userinterface.h"

// The user interface of a program without windows: messages and status lines go to
// standard error; questions are answered No, since nobody is there to answer them.
class ConsoleUserInterface : public UserInterface {
public:
    void Message(const std::string& text) override;
    void Error(const std::string& text) override;
    void Warning(const std::string& text) override;
    bool Ask(const std::string& text) override;
    void Status(const std::string& text) override;
    void WarningDialog(const std::string& caption, const std::string& text) override;
    bool AskGrabNow(const std::string& url, const std::string& moment) override;
};
