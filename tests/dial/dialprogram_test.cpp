#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "platform/profilefile.h"
#include "platform/rascommand.h"
#include "support/tempfolder.h"

namespace {

const std::string missing = "<missing>";

std::string Repeat(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// The dial program run for real on the simulated service; the test plays the caller.
class DialProgramTest : public ::testing::Test {
protected:
    DialProgramTest() { ::setenv("ZANVIK_RAS", "sim", 1); }
    ~DialProgramTest() override { ::unsetenv("ZANVIK_RAS"); }

    void Run(const std::vector<std::string>& arguments)
    {
        TCommandResult result =
            RunCommand(std::string(ZANVIK_BIN_DIR) + "/dial", arguments, "", std::chrono::seconds(20));
        ASSERT_TRUE(result.started) << result.failure;
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.errors, "");
    }
    void Run(const std::string& job) { Run(std::vector<std::string>{job}); }

    // What the caller writes before it starts a dial.
    void Request(const std::string& user, const std::string& password, const std::string& telephone)
    {
        exchange.WriteString("parameters", "username", user);
        exchange.WriteString("parameters", "password", password);
        exchange.WriteString("parameters", "TelNum", telephone);
        exchange.WriteString("retValue", "processing", "1");
        exchange.WriteString("retValue", "success", "0");
    }

    std::string Value(const std::string& section, const std::string& key) const
    {
        return exchange.ReadString(section, key, missing);
    }
    std::string Simulated(const std::string& section, const std::string& key) const
    {
        return sim.ReadString(section, key, missing);
    }
    void SetHandle(unsigned value) { exchange.WriteStruct("retvalue", "hRasConn", &value, sizeof value); }

    TempFolder folder;
    TProfileFile exchange{"autodial.ini"};
    TProfileFile sim{"rassim.ini"};
};

TEST_F(DialProgramTest, ADialLeavesItsHandleAndSuccess)
{
    Request("alice", "secret", "5551234");
    exchange.WriteString("retvalue", "rassource", "left over");
    Run("1");
    EXPECT_EQ(Value("retvalue", "processing"), "0");
    EXPECT_EQ(Value("retvalue", "success"), "1");
    EXPECT_EQ(Value("retvalue", "connected"), "1");
    EXPECT_EQ(Value("retvalue", "rassource"), missing);
    EXPECT_EQ(Value("Errors", "RasError"), missing);
    unsigned handle = 0;
    ASSERT_TRUE(exchange.ReadStruct("retvalue", "hRasConn", &handle, sizeof handle));
    EXPECT_EQ(handle, 1u);
    EXPECT_EQ(Simulated("connections", "1"), "5551234");

    EXPECT_EQ(Simulated("dialled", "entry"), "");
    EXPECT_EQ(Simulated("dialled", "phone"), "5551234");
    EXPECT_EQ(Simulated("dialled", "user"), "alice");
    EXPECT_EQ(Simulated("dialled", "password"), "secret");
    EXPECT_EQ(Simulated("dialled", "callback"), "");
    EXPECT_EQ(Simulated("dialled", "domain"), "");
}

TEST_F(DialProgramTest, ConnectedTellsWhetherAConnectionWasUpBeforeTheCall)
{
    // The dial fails, so connected keeps what was written before the call.
    sim.WriteString("fail", "dial", "678");
    Request("alice", "secret", "5551234");
    Run("1");
    EXPECT_EQ(Value("retvalue", "connected"), "0");
    EXPECT_EQ(Simulated("dialled", "phone"), "5551234");

    sim.WriteString("connections", "4", "Office");
    sim.EraseSection("dialled");
    Request("alice", "secret", "5559876");
    Run("1");
    EXPECT_EQ(Value("retvalue", "connected"), "1");
    EXPECT_EQ(Simulated("dialled", "phone"), "5559876");
}

TEST_F(DialProgramTest, ParametersAreCutTo31Characters)
{
    std::string entry = Repeat("e", 31);
    sim.WriteString("entries", entry, "");
    Request(Repeat("u", 40), Repeat("p", 32), Repeat("7", 31));
    exchange.WriteString("parameters", "rassource", entry + "xyz");
    Run("1");
    EXPECT_EQ(Simulated("dialled", "user"), Repeat("u", 31));
    EXPECT_EQ(Simulated("dialled", "password"), Repeat("p", 31));
    EXPECT_EQ(Simulated("dialled", "phone"), Repeat("7", 31));
    EXPECT_EQ(Simulated("dialled", "entry"), entry);
    EXPECT_EQ(Value("retvalue", "success"), "1");
    EXPECT_EQ(Value("parameters", "rassource"), entry + "xyz");

    // Characters, not bytes: a Chinese name keeps 31 whole characters.
    Request(Repeat("張", 40), "secret", "5551234");
    exchange.DeleteKey("parameters", "rassource");
    Run("1");
    EXPECT_EQ(Simulated("dialled", "user"), Repeat("張", 31));
}

TEST_F(DialProgramTest, AFailedDialLeavesTheErrorTextAndNoHandle)
{
    sim.WriteString("fail", "dial", "691");
    sim.WriteString("errors", "691", "Access denied by the simulated server.");
    Request("alice", "wrong", "5551234");
    SetHandle(9);  // from an earlier dial that was never hung up
    Run("1");
    EXPECT_EQ(Value("retvalue", "processing"), "0");
    EXPECT_EQ(Value("retvalue", "success"), "0");
    EXPECT_EQ(Value("retvalue", "connected"), "0");
    EXPECT_EQ(Value("retvalue", "hRasConn"), missing);
    EXPECT_EQ(Value("Errors", "RasError"), "Access denied by the simulated server.");
    EXPECT_FALSE(sim.SectionExists("connections"));
}

TEST_F(DialProgramTest, ErrorTextsAreOneLineOfAtMost127Characters)
{
    sim.WriteString("fail", "dial", "691");
    sim.WriteString("errors", "691", "tab\there " + Repeat("x", 200));
    Request("alice", "secret", "5551234");
    Run("1");
    EXPECT_EQ(Value("Errors", "RasError"), ("tab here " + Repeat("x", 200)).substr(0, 127));

    // A code the service has no text of still gets one.
    sim.WriteString("fail", "dial", "4321");
    Run("1");
    EXPECT_EQ(Value("Errors", "RasError"), "Remote Access error 4321.");
}

TEST_F(DialProgramTest, AHangUpWithAHandleTakesDownThatConnection)
{
    sim.WriteString("connections", "1", "Home");
    sim.WriteString("connections", "2", "Office");
    Request("alice", "secret", "5551234");
    exchange.WriteString("parameters", "rassource", "Office");
    exchange.WriteString("retvalue", "connected", "1");
    exchange.WriteString("retvalue", "success", "1");
    exchange.WriteString("Errors", "RasError", "an old failure");
    SetHandle(2);
    Run("2");
    EXPECT_EQ(Simulated("hungup", "handles"), "2");
    EXPECT_EQ(Simulated("connections", "1"), "Home");
    EXPECT_EQ(Simulated("connections", "2"), missing);
    EXPECT_EQ(Value("retvalue", "processing"), "0");
    for (const auto& [section, key] : std::vector<std::pair<std::string, std::string>>{
             {"parameters", "rassource"},
             {"retvalue", "hRasConn"},
             {"retvalue", "success"},
             {"retvalue", "connected"},
             {"Errors", "RasError"}})
        EXPECT_EQ(Value(section, key), missing) << section << "/" << key;
    EXPECT_EQ(Value("parameters", "username"), "alice");
}

TEST_F(DialProgramTest, AFailedHangUpLeavesTheErrorText)
{
    sim.WriteString("connections", "1", "Home");
    sim.WriteString("fail", "hangup", "6");
    SetHandle(1);
    exchange.WriteString("retvalue", "success", "1");
    Run("2");
    EXPECT_EQ(Value("Errors", "RasError"), "The handle is invalid.");
    EXPECT_EQ(Value("retvalue", "hRasConn"), missing);
    EXPECT_EQ(Value("retvalue", "success"), missing);
    EXPECT_EQ(Value("retvalue", "processing"), "0");
    EXPECT_EQ(Simulated("connections", "1"), "Home");
}

TEST_F(DialProgramTest, WithoutAHandleEveryConnectionIsHungUpLastFirst)
{
    for (const std::string& stored : {std::string(), std::string("0200000003")}) {
        SCOPED_TRACE(stored.empty() ? "no handle" : "handle with a wrong checksum");
        sim.EraseSection("hungup");
        sim.WriteString("connections", "5", "A");
        sim.WriteString("connections", "7", "B");
        sim.WriteString("connections", "9", "C");
        exchange.WriteString("Errors", "RasError", "an old failure");
        if (stored.empty())
            exchange.DeleteKey("retvalue", "hRasConn");
        else
            exchange.WriteString("retvalue", "hRasConn", stored);
        Run("2");
        EXPECT_EQ(Simulated("hungup", "handles"), "9 7 5");
        EXPECT_TRUE(sim.ReadSection("connections").empty());
        EXPECT_EQ(Value("Errors", "RasError"), missing);
        EXPECT_EQ(Value("retvalue", "hRasConn"), missing);
        EXPECT_EQ(Value("retvalue", "processing"), "0");
    }
}

TEST_F(DialProgramTest, AHangUpWithNothingActiveOnlyClearsProcessing)
{
    Request("alice", "secret", "5551234");
    exchange.WriteString("parameters", "rassource", "Office");
    exchange.WriteString("retvalue", "connected", "1");
    exchange.WriteString("Errors", "RasError", "an old failure");
    SetHandle(3);
    exchange.WriteString("retvalue", "processing", "1");
    std::string before = folder.Read("windows/autodial.ini");
    Run("2");
    std::string expected = before;
    expected.replace(expected.find("processing=1"), 12, "processing=0");
    EXPECT_EQ(folder.Read("windows/autodial.ini"), expected);
    EXPECT_EQ(Simulated("hungup", "handles"), missing);
}

TEST_F(DialProgramTest, TheCheckWritesOnlyAFailure)
{
    exchange.WriteString("retvalue", "processing", "1");
    sim.WriteString("entries", "Home", "");
    sim.WriteString("entries", "Office", "");
    std::string before = folder.Read("windows/autodial.ini");
    Run("3");
    EXPECT_EQ(folder.Read("windows/autodial.ini"), before);

    sim.WriteString("fail", "entries", "623");
    Run("3");
    EXPECT_EQ(Value("Errors", "RasError"), "Cannot find the phone book entry.");
    EXPECT_EQ(Value("retvalue", "processing"), "1");

    // The phone book has room for 32 entries.
    sim.EraseSection("fail");
    for (int i = 3; i <= 33; ++i)
        sim.WriteString("entries", "Entry " + std::to_string(i), "");
    Run("3");
    EXPECT_EQ(Value("Errors", "RasError"), "Caller's buffer is too small.");
}

struct CommandLineCase {
    std::vector<std::string> arguments;
    bool hangsUp;
};

class DialCommandLineTest : public DialProgramTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(DialCommandLineTest, TheNumberAtTheStartChoosesTheJob)
{
    sim.WriteString("connections", "1", "Home");
    exchange.WriteString("retvalue", "processing", "1");
    std::string before = folder.Read("windows/autodial.ini");
    Run(GetParam().arguments);
    if (GetParam().hangsUp) {
        EXPECT_EQ(Simulated("hungup", "handles"), "1");
        EXPECT_EQ(Value("retvalue", "processing"), "0");
    } else {
        EXPECT_EQ(Simulated("hungup", "handles"), missing);
        EXPECT_EQ(folder.Read("windows/autodial.ini"), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, DialCommandLineTest,
                         ::testing::Values(CommandLineCase{{"2"}, true}, CommandLineCase{{" \t+2"}, true},
                                           CommandLineCase{{"2abc"}, true}, CommandLineCase{{"02"}, true},
                                           CommandLineCase{{"2", "1"}, true}, CommandLineCase{{"-2"}, false},
                                           CommandLineCase{{"0"}, false}, CommandLineCase{{"4"}, false},
                                           CommandLineCase{{"abc2"}, false}, CommandLineCase{{"+ 2"}, false},
                                           CommandLineCase{{"99999999999999999999"}, false},
                                           CommandLineCase{{}, false}),
                         [](const ::testing::TestParamInfo<CommandLineCase>& info) {
                             return "Case" + std::to_string(info.index);
                         });

TEST_F(DialProgramTest, WithoutAServiceTheFailureSaysWhy)
{
    ::setenv("ZANVIK_RAS", "none", 1);
    Request("alice", "secret", "5551234");
    Run("1");
    EXPECT_EQ(Value("retvalue", "success"), "0");
    EXPECT_EQ(Value("retvalue", "processing"), "0");
    EXPECT_NE(Value("Errors", "RasError").find("ZANVIK_RAS=\"none\""), std::string::npos) << Value("Errors", "RasError");

    exchange.DeleteKey("Errors", "RasError");
    exchange.WriteString("retvalue", "processing", "1");
    Run("2");
    EXPECT_EQ(Value("retvalue", "processing"), "0");
    EXPECT_NE(Value("Errors", "RasError"), missing);
}

TEST_F(DialProgramTest, TheExchangeFileIsReadableByItsOwnerOnly)
{
    Request("alice", "secret", "5551234");
    ASSERT_EQ(::chmod((folder / "windows/autodial.ini").c_str(), 0644), 0);
    Run("1");
    struct stat info {};
    ASSERT_EQ(::stat((folder / "windows/autodial.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
