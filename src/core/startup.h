#pragma once

#include <stdexcept>
#include <string>

// The foundation's own start-up steps and their undoing at shutdown; the program's
// main runs them in order around the other units.

struct StartupState {
    bool started = false;     // the finishing steps run only when set
    bool ie4Browser = false;  // the user agent says the browser's major version is 4
};

StartupState& Startup();

// True when the "User Agent" text names major version 4: the first character after
// the first "/" of the text before the first "(". Anything but a digit there is not 4.
bool UserAgentIsVersion4(const std::string& userAgent);

// Reads "User Agent" from the registry when the built-in browser is available.
bool DetectIe4Browser(bool browserAvailable);

// Sets the database language driver value to "DBWINUS0" unless it is that or "taiwan".
void FixLanguageDriver();

// Starts the optional outside display program "tarsel" when it is on the PATH.
void StartDisplayProgram(const std::string& argument);

// Another program runs on the program folder; the text is the message for the user.
class EProgramFolderInUse : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Takes the program folder for this process until it ends, before anything is written
// there: two programs on one folder would run the same schedule and overwrite each other's
// log and host cache. Raises EProgramFolderInUse when another program holds it, and
// EInOutError when the folder cannot hold its lock file.
void LockProgramFolder();

// The message for a folder the program cannot use: the folder, the reason, and the
// environment variable that puts it elsewhere.
std::string FolderProblem(const std::string& folder, const std::string& variable, const std::string& reason);

// Start-up steps 1, 2, 3 and 5: browser check, display program, language driver,
// settings file.
void StartFoundation(bool browserAvailable);

// Shutdown: "tarsel /r" and the settings written back. Raises EProfileWrite when the
// settings file cannot be written.
void FinishFoundation();
