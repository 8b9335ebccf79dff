#pragma once

#include <string>
#include <vector>

class QObject;

// The report of an error that escaped an event handler: the site being grabbed, the class
// of the object whose handler failed and the error's text, framed by two rules.
std::vector<std::string> ErrorReport(const std::string& processFile, const std::string& className,
                                     const std::string& message);

// The main window's error logger: passes the report to the log as a several-line request
// and to the console, then shows the error to the user.
void LogHandlerError(QObject* sender, const std::string& message);
