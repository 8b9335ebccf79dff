#include "core/log.h"

#include <cstdio>
#include <memory>

#include "core/datetime.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "platform/profilefile.h"

namespace {

std::unique_ptr<TProfileFile> logFile;
int entryCounter = 0;

// Main thread only.
void WriteEntry(const std::string& text)
{
    if (!logFile)
        return;
    ++entryCounter;
    std::string key = "<" + std::to_string(entryCounter) + ">" + LongTimeText(Now());
    // The counter makes every key new, so the entry is appended: its cost does not grow
    // with the log.
    logFile->AddNewKey("log", key, text);
}

}  // namespace

void TLog::Line(const std::string& text)
{
    PostToMain([text] {
        try {
            WriteEntry(text);
        } catch (const EProfileWrite&) {
            // A refused write (disk full, file locked) drops the entry; the log must
            // never disturb the grab or the user.
        }
    });
}

void TLog::Detail(const std::string& text)
{
    (void)text;
}

void TLog::Lines(const std::vector<std::string>& lines)
{
    (void)lines;
}

void StartLog()
{
    std::string current = JoinPath(ProgramFolder(), "logfile.txt");
    if (FileExists(current)) {
        CopyFileIfExists(current, JoinPath(ProgramFolder(), "logfile.bak"));
        std::remove(current.c_str());
    }
    entryCounter = 0;
    logFile = std::make_unique<TProfileFile>(current);
    TDateTime now = Now();
    WriteEntry("開始記錄時間:" + ShortDateText(now) + " " + LongTimeText(now));
    WriteEntry(std::string(60, '-'));
}

void EndLog()
{
    logFile.reset();
}
