#include <gtest/gtest.h>

#include <stdexcept>

#include <sys/stat.h>

#include "core/settings.h"
#include "schedule/rasaccount.h"
#include "schedule/storeddialaccount.h"
#include "support/tempfolder.h"

namespace {

TEST(RasAccount, EveryChangeWritesAllThreeKeysToAnOwnerOnlyFile)
{
    TempFolder home;
    RasAccountChanged({"alice", "secret", "5551234"});
    TProfileFile file = SettingsFile();
    EXPECT_EQ(file.ReadString("RAS", "username", ""), "alice");
    EXPECT_EQ(file.ReadString("RAS", "password", ""), "secret");
    EXPECT_EQ(file.ReadString("RAS", "telephone", ""), "5551234");
    struct stat info {};
    ASSERT_EQ(::stat(file.FileName().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "vorlan.ini holds the password";

    RasAccountChanged({"bob", "", "5559876"});
    TStoredDialAccount stored;
    EXPECT_EQ(stored.UserName(), "bob");
    EXPECT_EQ(stored.Password(), "");
    EXPECT_EQ(stored.Telephone(), "5559876");
}

TEST(RasAccount, FillingTheFieldsDoesNotWriteThemBack)
{
    TempFolder home;
    RasAccountChanged({"alice", "secret", "5551234"});
    TRasAccount shown;
    LoadRasAccount([&](const TRasAccount& account) {
        EXPECT_TRUE(RasAccountLoading());
        shown = account;
        // The fields' change handler fires once per field as each is filled.
        RasAccountChanged({account.userName, "", ""});
    });
    EXPECT_FALSE(RasAccountLoading());
    EXPECT_EQ(shown.userName, "alice");
    EXPECT_EQ(shown.telephone, "5551234");
    EXPECT_EQ(SettingsFile().ReadString("RAS", "password", ""), "secret");

    EXPECT_THROW(LoadRasAccount([](const TRasAccount&) { throw std::runtime_error("no field"); }),
                 std::runtime_error);
    EXPECT_FALSE(RasAccountLoading());
}

}  // namespace
