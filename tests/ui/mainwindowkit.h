#pragma once

#include <memory>
#include <string>

#include <QColor>

#include "core/datetime.h"
#include "core/settings.h"
#include "schedule/dialaccount.h"
#include "schedule/watchdog.h"
#include "support/scriptedui.h"
#include "ui/fmmain.h"
#include "uitestkit.h"

// The colours of the pictures the main window tests give the program: each picture one
// colour, so that a test can tell which one is drawn where.
extern const QColor kNormalColour;
extern const QColor kDownColour;
extern const QColor kUpColour;
extern const QColor kFocusColour;
extern const QColor kTickColour;
extern const QColor kFailureColour;
extern const QColor kCrossColour;
extern const QColor kIconColours[4];

// A schedule entry as a test writes it into station.db.
struct ScheduleEntry {
    std::string alias;
    std::string url;
    TDateTime desired = 0;  // NextDesireDateTime is a day later
    int status = 0;         // -1: empty
    int kind = 1;
    std::string frequency = "RdBDaily";
    int dayType = 0;
    bool quick = false;
    int depth = 2;
};

// The main window over a program folder with the shipped tables and one-colour pictures,
// a scripted user interface, and a scheduler whose grab of a site is the test's. The
// page server listens on a free port. Settings are put back afterwards.
class MainWindowFixture {
public:
    MainWindowFixture();
    ~MainWindowFixture();

    // Makes the window with runSite (by default one that completes at once), shows it and
    // lets its first activation run.
    void Open(TWatchDog::TSiteRun runSite = {});
    // Destroys the window, as the end of the program does.
    void Destroy() { window.reset(); }
    TfmMain& Window() { return *window; }
    TDMMain& Data() { return folder.Data(); }
    TTable& Station() { return folder.Data().tabStation(); }

    // Appends an entry to station.db through the window's table; a unique key each time.
    void AddEntry(const ScheduleEntry& entry);
    void AddEntries(int count, int kinds = 10);

    // The colour of the window's pixel at a point of widget.
    QColor PixelAt(QWidget* widget, QPoint point);

    DataFolder folder;
    ScriptedUi ui;

private:
    TNoDialAccount account;
    TSettings saved;
    std::unique_ptr<TfmMain> window;
    int keys = 0;
};

// A moment an hour from now or ago, to the second.
TDateTime HoursFromNow(int hours);
