#include "ui/mainframe.h"

#include <exception>

#include <QCloseEvent>
#include <QTimer>

#include "core/startup.h"
#include "core/userinterface.h"
#include "grab/grabstate.h"
#include "schedule/watchdog.h"
#include "server/pageserver.h"
#include "server/proxyregistry.h"

TMainFrame::TMainFrame(TWatchDog& watchDog) : watchDog(watchDog)
{
    setWindowTitle("Zanvik");
    resize(800, 600);
    RestoreProxyWhen(false);
    pageServer = std::make_unique<TPageServer>(this);
    QTimer::singleShot(0, this, [this] { FirstActivation(); });
}

TMainFrame::~TMainFrame()
{
    RestoreProxyWhen(true);
}

void TMainFrame::RestoreProxyWhen(bool ie4Browser)
{
    // Older browsers read the proxy at start, newer ones keep what they were given.
    if (Startup().ie4Browser != ie4Browser)
        return;
    try {
        TProxyRegistry registry;
        registry.RestoreProxy();
    } catch (const std::exception& error) {
        Ui().Error(error.what());
    }
}

void TMainFrame::FirstActivation()
{
    MainWindowReady() = true;
    pageServer->Open();
    watchDog.Start();
}

bool TMainFrame::EnsureConnection()
{
    return watchDog.EnsureConnection();
}

void TMainFrame::closeEvent(QCloseEvent* event)
{
    MainWindowReady() = false;
    GrabState().StopFlag = true;
    watchDog.Terminate();
    event->accept();
}
