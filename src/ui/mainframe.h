#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>

#include "server/pageserverhost.h"

class TPageServer;
class TWatchDog;

// The main window's frame until its pages are built: an empty window titled "Zanvik"
// that owns the page server and starts it, with the scheduler, on its first activation,
// and asks the scheduler to end when it closes.
class TMainFrame : public QMainWindow, public TPageServerHost {
public:
    explicit TMainFrame(TWatchDog& watchDog);
    ~TMainFrame() override;

    int CurrentList() const override { return currentList; }
    bool EnsureConnection() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FirstActivation();
    void RestoreProxyWhen(bool ie4Browser);

    TWatchDog& watchDog;
    std::unique_ptr<TPageServer> pageServer;
    int currentList = 0;  // 0 reading list, 1 schedule, 2 phone book
};
