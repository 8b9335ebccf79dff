#include "core/startup.h"

#include <memory>

#include "core/paths.h"
#include "core/settings.h"
#include "core/text.h"
#include "platform/folderlock.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace {

const char* const kInternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char* const kParadoxInit = "SOFTWARE\\Borland\\Database Engine\\Settings\\DRIVERS\\PARADOX\\INIT";

}  // namespace

StartupState& Startup()
{
    static StartupState state;
    return state;
}

void LockProgramFolder()
{
    static std::unique_ptr<TFolderLock> held;
    if (held)
        return;
    // An installed program's folder is the user's own, made at its first start.
    if (!InstalledFilesFolder().empty())
        ForceFolderOf(JoinPath(ProgramFolder(), "vorlan.lock"));
    auto lock = std::make_unique<TFolderLock>(ProgramFolder());
    switch (lock->Result()) {
    case TFolderLock::TResult::Taken:
        held = std::move(lock);
        return;
    case TFolderLock::TResult::Held:
        throw EProgramFolderInUse("Zanvik 已在使用程式資料夾 \"" + ProgramFolder() + "\""
                                  + (lock->Holder() > 0 ? "(程序 " + std::to_string(lock->Holder()) + ")" : "")
                                  + ", 同一個資料夾不能同時執行兩個 Zanvik。");
    case TFolderLock::TResult::Failed:
        break;
    }
    throw EInOutError(lock->Problem());
}

std::string FolderProblem(const std::string& folder, const std::string& variable, const std::string& reason)
{
    return "Zanvik 無法使用資料夾 \"" + folder + "\": " + reason + "\n請讓這個資料夾可以寫入, 或以環境變數 " + variable
        + " 指定另一個資料夾。";
}

bool UserAgentIsVersion4(const std::string& userAgent)
{
    std::string product = userAgent.substr(0, userAgent.find('('));
    size_t slash = product.find('/');
    if (slash == std::string::npos || slash + 1 >= product.size())
        return false;
    return product[slash + 1] == '4';
}

bool DetectIe4Browser(bool browserAvailable)
{
    if (!browserAvailable)
        return false;
    TRegistry registry(RegistryRoot::CurrentUser);
    if (!registry.OpenKeyReadOnly(kInternetSettings))
        return false;
    try {
        return UserAgentIsVersion4(registry.ReadString("User Agent"));
    } catch (const ERegistryException&) {
        return false;  // a value of another type is no version text at all
    }
}

void FixLanguageDriver()
{
    TRegistry registry(RegistryRoot::LocalMachine);
    registry.OpenKey(kParadoxInit, true);
    std::string driver;
    try {
        driver = registry.ReadString("LANGDRIVER");
    } catch (const ERegistryException&) {
        driver.clear();  // a value of the wrong type is replaced like a wrong name
    }
    if (!SameText(driver, "DBWINUS0") && !SameText(driver, "taiwan"))
        registry.WriteString("LANGDRIVER", "DBWINUS0");
}

void StartDisplayProgram(const std::string& argument)
{
    std::string program = FindOnPath("tarsel");
    if (program.empty())
        return;
    // Nothing depends on the display program, so a failure to start it is ignored.
    StartProgram(program, argument.empty() ? std::vector<std::string>{} : std::vector<std::string>{argument});
}

void StartFoundation(bool browserAvailable)
{
    StartupState& state = Startup();
    state.ie4Browser = DetectIe4Browser(browserAvailable);
    state.started = true;
    StartDisplayProgram("");
    FixLanguageDriver();
    LoadSettings(SettingsFile());
}

void FinishFoundation()
{
    if (!Startup().started)
        return;
    StartDisplayProgram("/r");
    TProfileFile file = SettingsFile();
    SaveSettings(file);
}
