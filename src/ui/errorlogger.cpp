#include "ui/errorlogger.h"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

#include <QObject>

#include "core/log.h"
#include "core/userinterface.h"
#include "grab/grabstate.h"

namespace {

const std::string kRule(32, '=');

std::string ClassNameOf(const QObject* sender)
{
    if (!sender)
        return "";
    const char* raw = typeid(*sender).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(raw, nullptr, nullptr, &status), std::free);
    return status == 0 && readable ? readable.get() : raw;
}

}  // namespace

std::vector<std::string> ErrorReport(const std::string& processFile, const std::string& className,
                                     const std::string& message)
{
    return {kRule, "processfile-->" + processFile, "class name--->" + className, "exception---->" + message, kRule};
}

void LogHandlerError(QObject* sender, const std::string& message)
{
    std::vector<std::string> report = ErrorReport(GrabState().CurrentSiteURL(), ClassNameOf(sender), message);
    TLog::Lines(report);
    // Several-line requests leave the log file as it is; the console keeps the report for
    // whoever looks into the failure.
    for (const std::string& line : report)
        std::fprintf(stderr, "vorlan: %s\n", line.c_str());
    Ui().Error(message);
}
