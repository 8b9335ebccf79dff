#include "scriptedui.h"

ScriptedUi::ScriptedUi()
{
    SetUserInterface(this);
}

ScriptedUi::~ScriptedUi()
{
    SetUserInterface(nullptr);
}

void ScriptedUi::Record(const std::string& kind, const std::string& text)
{
    std::lock_guard guard(lock);
    shown.push_back(kind + ": " + text);
}

bool ScriptedUi::NextAnswer()
{
    std::lock_guard guard(lock);
    if (answers.empty())
        return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedUi::Message(const std::string& text) { Record("message", text); }
void ScriptedUi::Error(const std::string& text) { Record("error", text); }
void ScriptedUi::Warning(const std::string& text) { Record("warning", text); }
void ScriptedUi::Status(const std::string& text) { Record("status", text); }
void ScriptedUi::Title(const std::string& text) { Record("title", text); }
void ScriptedUi::Meter(int slot, int position) { Record("meter", std::to_string(slot) + "=" + std::to_string(position)); }
void ScriptedUi::WarningDialog(const std::string& caption, const std::string& text) { Record("dialog", caption + "|" + text); }
void ScriptedUi::SiteFinished(const std::string& url) { Record("finished", url); }
void ScriptedUi::Animate(bool on) { Record("animate", on ? "on" : "off"); }
void ScriptedUi::BrowserAnimate(bool on) { Record("browser-animate", on ? "on" : "off"); }
void ScriptedUi::ShowBusy(const std::string& text) { Record("busy", text); }
void ScriptedUi::HideBusy() { Record("busy", "hidden"); }

bool ScriptedUi::Ask(const std::string& text)
{
    Record("ask", text);
    return NextAnswer();
}

bool ScriptedUi::Confirm(const std::string& text)
{
    Record("confirm", text);
    return NextAnswer();
}

bool ScriptedUi::AskGrabNow(const std::string& url, const std::string& moment)
{
    Record("grab-now", url + "|" + moment);
    return NextAnswer();
}

void ScriptedUi::Answer(bool yes)
{
    std::lock_guard guard(lock);
    answers.push_back(yes);
}

std::vector<std::string> ScriptedUi::Shown() const
{
    std::lock_guard guard(lock);
    return shown;
}

std::vector<std::string> ScriptedUi::Shown(const std::string& kind) const
{
    std::lock_guard guard(lock);
    std::vector<std::string> result;
    std::string prefix = kind + ": ";
    for (const std::string& line : shown)
        if (line.rfind(prefix, 0) == 0)
            result.push_back(line.substr(prefix.size()));
    return result;
}

bool ScriptedUi::WasShown(const std::string& kind, const std::string& text) const
{
    for (const std::string& line : Shown(kind))
        if (line == text)
            return true;
    return false;
}

void ScriptedUi::Clear()
{
    std::lock_guard guard(lock);
    shown.clear();
    answers.clear();
}
