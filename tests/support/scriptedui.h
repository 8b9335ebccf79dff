#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "core/userinterface.h"

// A user interface for tests: records what was shown and answers questions from a
// script (No when the script is empty). Installs itself while it lives.
class ScriptedUi : public UserInterface {
public:
    ScriptedUi();
    ~ScriptedUi() override;

    void Message(const std::string& text) override;
    void Error(const std::string& text) override;
    void Warning(const std::string& text) override;
    bool Ask(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void Status(const std::string& text) override;
    void Title(const std::string& text) override;
    void Meter(int slot, int position) override;
    void WarningDialog(const std::string& caption, const std::string& text) override;
    bool AskGrabNow(const std::string& url, const std::string& moment) override;
    void SiteFinished(const std::string& url) override;
    void Animate(bool on) override;
    void BrowserAnimate(bool on) override;
    void ShowBusy(const std::string& text) override;
    void HideBusy() override;

    void Answer(bool yes);  // queues the answer to the next question

    // Everything shown, in order, as "kind: text" lines (status, message, error, ...).
    std::vector<std::string> Shown() const;
    std::vector<std::string> Shown(const std::string& kind) const;
    bool WasShown(const std::string& kind, const std::string& text) const;
    void Clear();

private:
    void Record(const std::string& kind, const std::string& text);
    bool NextAnswer();

    mutable std::mutex lock;
    std::vector<std::string> shown;
    std::deque<bool> answers;
};
