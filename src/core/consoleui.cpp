#include "core/consoleui.h"

#include <cstdio>
#include <mutex>

namespace {

ConsoleUserInterface console;
UserInterface* installed = &console;
std::mutex printLock;

void Print(const char* label, const std::string& text)
{
    std::lock_guard guard(printLock);
    std::fprintf(stderr, "%s%s\n", label, text.c_str());
}

}  // namespace

UserInterface& Ui()
{
    return *installed;
}

std::atomic<bool>& MainWindowReady()
{
    static std::atomic<bool> ready{false};
    return ready;
}

void SetUserInterface(UserInterface* ui)
{
    installed = ui ? ui : &console;
}

void ConsoleUserInterface::Message(const std::string& text)
{
    Print("", text);
}

void ConsoleUserInterface::Error(const std::string& text)
{
    Print("error: ", text);
}

void ConsoleUserInterface::Warning(const std::string& text)
{
    Print("warning: ", text);
}

bool ConsoleUserInterface::Ask(const std::string& text)
{
    Print("question (answered No): ", text);
    return false;
}

void ConsoleUserInterface::Status(const std::string& text)
{
    Print("", text);
}

void ConsoleUserInterface::WarningDialog(const std::string& caption, const std::string& text)
{
    Print("warning: ", caption + " " + text);
}

bool ConsoleUserInterface::AskGrabNow(const std::string& url, const std::string& moment)
{
    Print("due (grabbed now): ", url + " " + moment);
    return true;
}
