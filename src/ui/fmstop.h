#pragma once

#include <QPushButton>

#include "ui/fixeddialog.h"

class TGrabScheduler;

// The stop dialog of the force-disconnect command: stop the site being grabbed, or stop
// the scheduler for the rest of this run. It tells the main window through the user
// interface (status line, title, animation) and the scheduler through its end request.
class TfmStop : public TFixedDialog {
public:
    // scheduler must outlive the dialog.
    explicit TfmStop(TGrabScheduler& scheduler, QWidget* parent = nullptr);

    QPushButton* btnStopSite;
    QPushButton* btnStopAll;
    QPushButton* btnCancel;

private:
    void btnStopSiteClick();
    void btnStopAllClick();

    TGrabScheduler& scheduler;
};
