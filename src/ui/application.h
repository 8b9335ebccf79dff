#pragma once

#include <functional>
#include <string>

#include <QApplication>

// The application object of the programs with windows. An error that escapes an event
// handler would otherwise end the program with its tables open; here it goes to the
// unhandled-error hook, with the object whose event was being handled, and the program
// goes on. The toolkit's silent abort (EAbort) is dropped without a word, as it is meant
// to be.
class TApplication : public QApplication {
public:
    using TExceptionHook = std::function<void(QObject* sender, const std::string& message)>;

    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The main window sets its error logger here; without one the error is shown in a
    // plain box.
    static void SetExceptionHook(TExceptionHook hook);

private:
    static void Report(QObject* sender, const std::string& message);
};
