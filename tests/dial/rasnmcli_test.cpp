#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>

#include "platform/raserrors.h"
#include "platform/rasnmcli.h"
#include "support/tempfolder.h"

namespace {

const std::string activePath = "/org/freedesktop/NetworkManager/ActiveConnection/";

// A stand-in for nmcli: it logs the arguments of every call (one line each) and the
// input of "connection up", and answers from files the test writes: "active" and
// "profiles" for the listings, "get" for a -g query, "up.adds" for the line a successful
// "connection up" adds to "active"; "<job>.exit" and "<job>.stderr" make a job fail.
class FakeNmcli {
public:
    FakeNmcli()
    {
        folder.Write("nmcli", "#!/bin/sh\n"
                              "dir='" + folder.Path() + "'\n"
                              "printf '%s\\n' \"$*\" >> \"$dir/calls\"\n"
                              "case \"$*\" in\n"
                              "  *' connection up '*) job=up ;;\n"
                              "  *' connection down '*) job=down ;;\n"
                              "  'connection modify '*) job=modify ;;\n"
                              "  '-g '*) job=get ;;\n"
                              "  *' --active') job=active ;;\n"
                              "  *) job=profiles ;;\n"
                              "esac\n"
                              "if [ $job = up ]; then cat > \"$dir/input\"; fi\n"
                              "if [ -f \"$dir/$job.exit\" ]; then\n"
                              "  cat \"$dir/$job.stderr\" >&2 2>/dev/null\n"
                              "  exit \"$(cat \"$dir/$job.exit\")\"\n"
                              "fi\n"
                              "case $job in\n"
                              "  active|profiles|get) cat \"$dir/$job\" 2>/dev/null ;;\n"
                              "  up) cat \"$dir/up.adds\" >> \"$dir/active\" 2>/dev/null ;;\n"
                              "esac\n"
                              "exit 0\n");
        ::chmod((folder / "nmcli").c_str(), 0755);
    }

    std::string Program() const { return folder / "nmcli"; }
    const std::string& Folder() const { return folder.Path(); }
    void Set(const std::string& name, const std::string& text) const { folder.Write(name, text); }
    void Fail(const std::string& job, int exitCode, const std::string& errors) const
    {
        folder.Write(job + ".exit", std::to_string(exitCode));
        folder.Write(job + ".stderr", errors);
    }
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> calls;
        std::string text = folder.Read("calls");
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            calls.push_back(text.substr(start, end - start));
        return calls;
    }
    std::string Input() const { return folder.Read("input"); }

private:
    TempFolder folder{TempFolder::Use::Plain};
};

const std::string listAll = "-t -f NAME,UUID,TYPE,ACTIVE-PATH connection show";
const std::string listActive = listAll + " --active";

class RasNmcliTest : public ::testing::Test {
protected:
    FakeNmcli nmcli;
    TRasNmcli ras{nmcli.Program()};
};

TEST_F(RasNmcliTest, OnlyDialUpConnectionsAreListedWithTheirHandles)
{
    nmcli.Set("active", "Wired connection 1:aaaa:802-3-ethernet:" + activePath + "1\n"
                        "My\\:ISP:bbbb:pppoe:" + activePath + "3\n"
                        "lo:cccc:loopback:" + activePath + "2\n"
                        "Office\\\\VPN:dddd:vpn:" + activePath + "7\n");
    std::vector<TRasConnection> connections;
    ASSERT_EQ(ras.EnumConnections(10, connections), RasCode::Success);
    ASSERT_EQ(connections.size(), 2u);
    EXPECT_EQ(connections[0].handle, 3u);
    EXPECT_EQ(connections[0].entryName, "My:ISP");
    EXPECT_EQ(connections[1].handle, 7u);
    EXPECT_EQ(connections[1].entryName, "Office\\VPN");
    EXPECT_EQ(nmcli.Calls(), std::vector<std::string>{listActive});

    EXPECT_EQ(ras.EnumConnections(1, connections), RasCode::BufferTooSmall);
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0].handle, 3u);
    EXPECT_EQ(ras.ErrorText(RasCode::BufferTooSmall), "Caller's buffer is too small. (more than 1 active connections)");
}

TEST_F(RasNmcliTest, ThePhoneBookIsTheDialUpProfiles)
{
    nmcli.Set("profiles", "Wired connection 1:aaaa:802-3-ethernet:\n"
                          "ISP:bbbb:pppoe:\n"
                          "Mobile:eeee:gsm:\n");
    std::vector<std::string> entries;
    ASSERT_EQ(ras.EnumEntries(32, entries), RasCode::Success);
    EXPECT_EQ(entries, (std::vector<std::string>{"ISP", "Mobile"}));
    EXPECT_EQ(ras.EnumEntries(1, entries), RasCode::BufferTooSmall);
}

TEST_F(RasNmcliTest, ANamedEntryIsDialledWithThePasswordOnItsInput)
{
    nmcli.Set("profiles", "Mobile:eeee:gsm:\nISP:bbbb:pppoe:\n");
    nmcli.Set("get", "olduser\n");
    nmcli.Set("up.adds", "ISP:bbbb:pppoe:" + activePath + "12\n");
    TRasDialParams params;
    params.entryName = "isp";
    params.userName = "newuser";
    params.password = "secret";
    TRasHandle handle = 0;
    ASSERT_EQ(ras.Dial(params, handle), RasCode::Success);
    EXPECT_EQ(handle, 12u);
    EXPECT_EQ(nmcli.Calls(), (std::vector<std::string>{
                                 listAll,
                                 "-g pppoe.username connection show uuid bbbb",
                                 "connection modify uuid bbbb pppoe.username newuser",
                                 "-w 60 connection up uuid bbbb passwd-file /dev/stdin",
                                 listActive,
                             }));
    EXPECT_EQ(nmcli.Input(), "pppoe.password:secret\n");
}

TEST_F(RasNmcliTest, AnUnchangedUserNameIsNotWrittenAgain)
{
    nmcli.Set("profiles", "ISP:bbbb:pppoe:\n");
    nmcli.Set("get", "alice\n");
    TRasDialParams params;
    params.entryName = "ISP";
    params.userName = "alice";
    TRasHandle handle = 0;
    ASSERT_EQ(ras.Dial(params, handle), RasCode::Success);
    for (const std::string& call : nmcli.Calls())
        EXPECT_EQ(call.find("modify"), std::string::npos) << call;
    // The connection came up but is not listed: no handle, still a success.
    EXPECT_EQ(handle, 0u);
}

TEST_F(RasNmcliTest, WithoutAnEntryTheFirstModemOrPppoeProfileIsDialled)
{
    nmcli.Set("profiles", "Office VPN:dddd:vpn:\nWired:aaaa:802-3-ethernet:\nMobile:eeee:gsm:\nISP:bbbb:pppoe:\n");
    nmcli.Set("up.adds", "Mobile:eeee:gsm:" + activePath + "4\n");
    TRasDialParams params;
    params.phoneNumber = "*99#";
    TRasHandle handle = 0;
    ASSERT_EQ(ras.Dial(params, handle), RasCode::Success);
    EXPECT_EQ(handle, 4u);
    // No user name and no password: neither the profile nor a secret is touched.
    EXPECT_EQ(nmcli.Calls(), (std::vector<std::string>{listAll, "-w 60 connection up uuid eeee", listActive}));
    EXPECT_EQ(nmcli.Input(), "");
}

TEST_F(RasNmcliTest, AnUnknownEntryIsNotDialled)
{
    nmcli.Set("profiles", "ISP:bbbb:pppoe:\nWired:aaaa:802-3-ethernet:\n");
    TRasDialParams params;
    params.entryName = "Wired";
    TRasHandle handle = 7;
    EXPECT_EQ(ras.Dial(params, handle), RasCode::CannotFindPhonebookEntry);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(nmcli.Calls(), std::vector<std::string>{listAll});
    EXPECT_EQ(ras.ErrorText(RasCode::CannotFindPhonebookEntry),
              "Cannot find the phone book entry. (no dial-up profile is named \"Wired\")");
}

TEST_F(RasNmcliTest, AFailedActivationCarriesNmclisOwnWords)
{
    nmcli.Set("profiles", "ISP:bbbb:pppoe:\n");
    nmcli.Fail("up", 4, "Error: Connection activation failed: Secrets were required, but not provided.\nHint: ...\n");
    TRasDialParams params;
    params.password = "secret";
    TRasHandle handle = 0;
    ASSERT_EQ(ras.Dial(params, handle), RasCode::FromDevice);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(ras.ErrorText(RasCode::FromDevice),
              "The modem (or other connecting device) has reported an error. "
              "(nmcli: Connection activation failed: Secrets were required, but not provided.)");
    EXPECT_EQ(ras.ErrorText(RasCode::InvalidHandle), "The handle is invalid.");
}

TEST_F(RasNmcliTest, APasswordWithALineBreakIsRefused)
{
    nmcli.Set("profiles", "ISP:bbbb:pppoe:\n");
    TRasDialParams params;
    params.password = "secret\nvpn.secrets.password:other";
    TRasHandle handle = 0;
    EXPECT_EQ(ras.Dial(params, handle), RasCode::InvalidParameter);
    EXPECT_TRUE(nmcli.Calls().empty());
}

TEST_F(RasNmcliTest, AHangUpTakesDownOnlyADialUpConnection)
{
    nmcli.Set("active", "Wired:aaaa:802-3-ethernet:" + activePath + "1\nISP:bbbb:pppoe:" + activePath + "7\n");
    EXPECT_EQ(ras.HangUp(7), RasCode::Success);
    EXPECT_EQ(nmcli.Calls(), (std::vector<std::string>{listActive, "-w 60 connection down apath " + activePath + "7"}));

    EXPECT_EQ(ras.HangUp(1), RasCode::InvalidHandle);
    EXPECT_EQ(ras.HangUp(0), RasCode::InvalidHandle);
    EXPECT_EQ(nmcli.Calls().size(), 4u);  // two more listings, nothing taken down

    nmcli.Fail("down", 5, "Error: not all active connections found.\n");
    EXPECT_EQ(ras.HangUp(7), RasCode::FromDevice);
    nmcli.Fail("down", 10, "Error: no such connection.\n");
    EXPECT_EQ(ras.HangUp(7), RasCode::InvalidHandle);
}

TEST_F(RasNmcliTest, FailuresOfNmcliItselfAreNamed)
{
    nmcli.Fail("active", 8, "Error: NetworkManager is not running.\n");
    std::vector<TRasConnection> connections;
    EXPECT_EQ(ras.EnumConnections(10, connections), RasCode::ServiceUnavailable);
    EXPECT_EQ(ras.ErrorText(RasCode::ServiceUnavailable),
              "The Remote Access Service Manager could not start. (nmcli: NetworkManager is not running.)");

    nmcli.Fail("profiles", 1, "");
    std::vector<std::string> entries;
    EXPECT_EQ(ras.EnumEntries(32, entries), RasCode::FromDevice);
    EXPECT_EQ(ras.ErrorText(RasCode::FromDevice),
              "The modem (or other connecting device) has reported an error. (nmcli ended with exit code 1)");

    TRasNmcli gone(nmcli.Folder() + "no-such-nmcli");
    EXPECT_EQ(gone.EnumEntries(32, entries), RasCode::ServiceUnavailable);
    EXPECT_NE(gone.ErrorText(RasCode::ServiceUnavailable).find("Cannot start"), std::string::npos);
}

}  // namespace
