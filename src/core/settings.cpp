#include "core/settings.h"

#include "core/paths.h"

TSettings& Settings()
{
    static TSettings settings;
    return settings;
}

TProfileFile SettingsFile()
{
    return TProfileFile(JoinPath(ProgramFolder(), "vorlan.ini"), TProfileFile::Access::OwnerOnly);
}

void LoadSettings(const TProfileFile& file)
{
    TSettings& s = Settings();
    s.minVolumn = file.ReadInteger("setup", "minVolumn", 10);
    s.maxSiteTime = file.ReadInteger("setup", "maxSiteTime", 60);
    s.maxFileSize = static_cast<std::int64_t>(file.ReadInteger("setup", "maxFileSize", 500)) * 1024;
    s.maxTotalTime = file.ReadInteger("setup", "maxTotalTime", 10);
    s.give_waitTime = file.ReadInteger("setup", "give_waitTime", 2500);
    s.give_blockSize = file.ReadInteger("setup", "give_blockSize", 4096);
    s.idefaultDepth = file.ReadInteger("default", "idefaultDepth", 2);
    s.bdebugVersion = file.ReadBool("default", "bdebugVersion", false);
    s.iDefaultFetchMaxTime = file.ReadInteger("default", "iDefaultFetchMaxTime", 10);
    s.bdefaultCross = file.ReadBool("default", "bdefaultCross", false);
    s.RemindForLoad = file.ReadBool("setup", "RemindForLoad", false);
    s.RemindFetchOver = file.ReadBool("setup", "RemindFetchOver", false);
    s.USE_browser = file.ReadBool("setup", "USE_browser", true);
    s.USE_lan = file.ReadBool("setup", "USE_lan", true);
    s.dial_who = file.ReadString("setup", "dial_who", "");
}

void SaveSettings(TProfileFile& file)
{
    const TSettings& s = Settings();
    file.WriteInteger("setup", "minVolumn", s.minVolumn);
    file.WriteInteger("setup", "maxSiteTime", s.maxSiteTime);
    file.WriteInteger("setup", "maxFileSize", static_cast<int>(s.maxFileSize / 1024));
    file.WriteInteger("setup", "maxTotalTime", s.maxTotalTime);
    file.WriteInteger("setup", "give_waitTime", s.give_waitTime);
    file.WriteInteger("setup", "give_BlockSize", s.give_blockSize);
    file.WriteInteger("default", "idefaultDepth", s.idefaultDepth);
    file.WriteBool("setup", "remindForLoad", s.RemindForLoad);
    file.WriteBool("setup", "remindFetchOver", s.RemindFetchOver);
    file.WriteBool("setup", "USE_browser", s.USE_browser);
    file.WriteBool("setup", "USE_lan", s.USE_lan);
    file.WriteInteger("default", "iDefaultFetchMaxTime", s.iDefaultFetchMaxTime);
    file.WriteBool("default", "bdefaultCross", s.bdefaultCross);
    file.WriteBool("default", "bdebugVersion", s.bdebugVersion);
    file.WriteString("setup", "dial_who", s.dial_who);
}
