#pragma once

#include <cstdint>
#include <string>

#include "platform/profilefile.h"

// The process-wide settings of "vorlan.ini", read once at start-up and written back at
// shutdown. Other code reads and changes the values in memory; only LoadSettings and
// SaveSettings touch the file (the "RAS" section belongs to the dial-up control).
struct TSettings {
    int minVolumn = 10;              // MB that must stay free on the store's drive
    int maxSiteTime = 60;            // minutes one site may be grabbed
    std::int64_t maxFileSize = 500 * 1024;  // bytes; the file holds KB
    int maxTotalTime = 10;
    int give_waitTime = 2500;
    int give_blockSize = 4096;
    int idefaultDepth = 2;
    bool bdebugVersion = false;
    int iDefaultFetchMaxTime = 10;
    bool bdefaultCross = false;
    bool RemindForLoad = false;
    bool RemindFetchOver = false;
    bool USE_browser = true;
    bool USE_lan = true;
    std::string dial_who;
};

TSettings& Settings();

void LoadSettings(const TProfileFile& file);
// Raises EProfileWrite when the file cannot be written.
void SaveSettings(TProfileFile& file);

// ProgramFolder + "vorlan.ini", readable by its owner only: it holds the dial-up password.
TProfileFile SettingsFile();
