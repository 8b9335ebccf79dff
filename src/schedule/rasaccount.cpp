#include "schedule/rasaccount.h"

#include "core/settings.h"

namespace {

const char* const kSection = "RAS";

bool loading = false;

class TLoadingFlag {
public:
    TLoadingFlag() { loading = true; }
    ~TLoadingFlag() { loading = false; }
    TLoadingFlag(const TLoadingFlag&) = delete;
    TLoadingFlag& operator=(const TLoadingFlag&) = delete;
};

}  // namespace

TRasAccount ReadRasAccount()
{
    TProfileFile file = SettingsFile();
    return TRasAccount{file.ReadString(kSection, "username", ""), file.ReadString(kSection, "password", ""),
                       file.ReadString(kSection, "telephone", "")};
}

void LoadRasAccount(const std::function<void(const TRasAccount&)>& fill)
{
    TLoadingFlag flag;
    fill(ReadRasAccount());
}

bool RasAccountLoading()
{
    return loading;
}

void RasAccountChanged(const TRasAccount& account)
{
    if (loading)
        return;
    TProfileFile file = SettingsFile();
    file.WriteString(kSection, "username", account.userName);
    file.WriteString(kSection, "password", account.password);
    file.WriteString(kSection, "telephone", account.telephone);
}
