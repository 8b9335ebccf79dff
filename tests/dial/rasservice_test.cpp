#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "platform/ras.h"
#include "platform/raserrors.h"
#include "support/tempfolder.h"

namespace {

// Sets an environment variable for the life of the object and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name(name)
    {
        if (const char* old = std::getenv(name))
            previous = old;
        hadValue = std::getenv(name) != nullptr;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (hadValue)
            ::setenv(name, previous.c_str(), 1);
        else
            ::unsetenv(name);
    }

private:
    const char* name;
    std::string previous;
    bool hadValue = false;
};

class RasServiceTest : public ::testing::Test {
protected:
    TempFolder folder;
    TempFolder bin{TempFolder::Use::Plain};
};

TEST_F(RasServiceTest, NmcliOnThePathIsUsedWhenNothingElseIsChosen)
{
    bin.Write("nmcli", "#!/bin/sh\necho 'ISP:bbbb:pppoe:/org/freedesktop/NetworkManager/ActiveConnection/5'\n");
    ::chmod((bin / "nmcli").c_str(), 0755);
    ScopedEnvironment path("PATH", bin.Path().c_str());
    for (const char* choice : {static_cast<const char*>(nullptr), "nmcli"}) {
        ScopedEnvironment chosen("ZANVIK_RAS", choice);
        std::vector<TRasConnection> connections;
        ASSERT_EQ(CreateRasService()->EnumConnections(10, connections), RasCode::Success);
        ASSERT_EQ(connections.size(), 1u);
        EXPECT_EQ(connections[0].handle, 5u);
    }
}

TEST_F(RasServiceTest, WithoutAServiceEveryCallFailsWithTheReason)
{
    ScopedEnvironment path("PATH", bin.Path().c_str());
    for (const auto& [choice, reason] : std::vector<std::pair<const char*, std::string>>{
             {nullptr, "nmcli (NetworkManager) was not found on the PATH"}, {"modem", "ZANVIK_RAS=\"modem\""}}) {
        ScopedEnvironment chosen("ZANVIK_RAS", choice);
        auto ras = CreateRasService();
        std::vector<TRasConnection> connections;
        std::vector<std::string> entries;
        TRasHandle handle = 3;
        EXPECT_EQ(ras->EnumConnections(10, connections), RasCode::ServiceUnavailable);
        EXPECT_EQ(ras->Dial(TRasDialParams(), handle), RasCode::ServiceUnavailable);
        EXPECT_EQ(handle, 0u);
        EXPECT_EQ(ras->HangUp(1), RasCode::ServiceUnavailable);
        EXPECT_EQ(ras->EnumEntries(32, entries), RasCode::ServiceUnavailable);
        EXPECT_NE(ras->ErrorText(RasCode::ServiceUnavailable).find(reason), std::string::npos)
            << ras->ErrorText(RasCode::ServiceUnavailable);
    }
}

TEST_F(RasServiceTest, TheSimulationKeepsItsStateInTheWindowsFolder)
{
    ScopedEnvironment chosen("ZANVIK_RAS", "sim");
    folder.Write("windows/rassim.ini", "[connections]\n3=Home\nbad=Ignored\n[entries]\nHome=\n");
    auto ras = CreateRasService();
    TRasDialParams params;
    params.entryName = "home";
    TRasHandle first = 0;
    ASSERT_EQ(ras->Dial(params, first), RasCode::Success);
    EXPECT_EQ(first, 4u);
    ASSERT_EQ(ras->HangUp(first), RasCode::Success);
    // A handle is never given out twice, even after its connection is gone.
    TRasHandle second = 0;
    ASSERT_EQ(ras->Dial(params, second), RasCode::Success);
    EXPECT_EQ(second, 5u);
    std::vector<TRasConnection> connections;
    ASSERT_EQ(ras->EnumConnections(10, connections), RasCode::Success);
    ASSERT_EQ(connections.size(), 2u);
    EXPECT_EQ(connections[1].handle, 5u);
    EXPECT_EQ(connections[1].entryName, "home");
    EXPECT_EQ(ras->HangUp(4), RasCode::InvalidHandle);

    params.entryName = "Elsewhere";
    EXPECT_EQ(ras->Dial(params, first), RasCode::CannotFindPhonebookEntry);
    EXPECT_EQ(first, 0u);
}

}  // namespace
