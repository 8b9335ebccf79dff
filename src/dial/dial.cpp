#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "dial/dialjob.h"
#include "dial/jobnumber.h"
#include "platform/profilefile.h"
#include "platform/ras.h"

namespace {

enum Job { DialJob = 1, HangUpJob = 2, CheckJob = 3 };

TProfileFile ExchangeFile()
{
    // It holds the account password.
    return TProfileFile("autodial.ini", TProfileFile::Access::OwnerOnly);
}

void RunJob(int job)
{
    std::unique_ptr<TRasService> ras = CreateRasService();
    TProfileFile exchange = ExchangeFile();
    TDialJob run(*ras, exchange);
    if (job == DialJob)
        run.Dial();
    else if (job == HangUpJob)
        run.HangUp();
    else
        run.Check();
}

// The caller waits for processing = "0"; after a failure half-way it must still come.
void EndProcessingAfterFailure()
{
    try {
        ExchangeFile().WriteString("retvalue", "processing", "0");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dial: %s\n", error.what());
    }
}

}  // namespace

// One job a run, chosen by the command line; the outcome is told only in "autodial.ini",
// and the exit code is always 0.
int main(int argc, char** argv)
{
    std::string commandLine;
    for (int i = 1; i < argc; ++i)
        commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    int job = JobNumber(commandLine);
    if (job != DialJob && job != HangUpJob && job != CheckJob)
        return 0;
    try {
        RunJob(job);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dial: %s\n", error.what());
        if (job != CheckJob)
            EndProcessingAfterFailure();
    }
    return 0;
}
