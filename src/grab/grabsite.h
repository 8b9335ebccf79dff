#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/thread.h"
#include "grab/grabscheduler.h"
#include "grab/headertable.h"
#include "grab/linkscanner.h"
#include "grab/turl.h"

class TTCPClient;

// A grab thread: fetches pages with HEAD and GET over its own client socket, stores them
// in the page store and scans the HTML ones for links. The client lives on the main
// thread, whose events fill in what this thread waits for; every hand-over to the main
// thread names its target. The master (SlaveNo 0) grabs a site's home page, the slaves
// (1 to 5) the pages it and they queue.
class TGrabSite : public TThread {
public:
    TGrabSite(int slaveNo, bool crossSite, bool textOnly, TGrabScheduler& scheduler);
    ~TGrabSite() override;

    int SlaveNo() const { return slaveNo; }
    std::string CurrentURL() const;
    std::string StatusText() const;

protected:
    void Execute() override;
    virtual void Run() = 0;
    virtual void ShowStatus() = 0;
    virtual void SetStatus(const std::string& text) = 0;

    // One page, with the errors of the grabber's classes passed to the caller.
    void GrabPage(const std::string& urlText);
    // The status line of the main window: on the main thread, when there is a text, the
    // thread has not been told to end and the window is ready.
    void StatusLine(const std::string& text);
    // A message box of the main thread.
    void ShowError(const std::string& text) const;
    // StopFlag, this thread's end request or the scheduler's.
    bool Stopping() const;

    void SetURL(const std::string& text);
    void StoreStatusText(const std::string& text);

    int Level = 0;
    TGrabScheduler& scheduler;
    std::string pageFile;    // of the page being grabbed
    std::string statusCode;  // of its last HEAD response

private:
    void CheckLimits();
    void ConnectAndProbe();
    void WaitConnected();
    void SendRequest(const std::string& method);
    // True when the answer moved the page and page now names the address to ask next.
    bool ParseHeader();
    bool FollowRedirect(const std::string& response);
    bool IsNewer();
    void FetchBody();
    bool GetIntoTemporaryFile(const std::string& temporary);
    bool StripHeader(const std::string& temporary);
    void ScanStoredPage();

    // On the main thread.
    void MakeClient();
    void FreeClient();
    void ClientConnected();
    void ClientClosed();
    void ClientFailed(int error, const std::string& words);
    void HeaderData();
    void BodyData();
    void SetMeter(int value);

    void Wake();
    template <typename Done> void WaitBriefly(Done done, int milliseconds);
    bool TemporaryTooLarge(long long size) const;

    const int slaveNo;
    const bool crossSite;
    const bool textOnly;

    mutable std::mutex textLock;
    std::string url;
    std::string statusText;

    TTCPClient* client = nullptr;  // made and freed on the main thread
    Turl asked;  // the page's address: its file in the store
    Turl page;   // the address asked now, after the redirects so far; links resolve against it
    std::vector<std::string> redirects;  // the addresses asked for this page, asked first
    std::string siteFolder;
    std::string connectedFolder;  // the host cache's folder of the host connected to last
    THeaderTable headerTable;
    long long contentLength = 0;
    TLinkScanner scanner;

    // Shared with the client's events; the events run on the main thread.
    std::mutex eventLock;
    std::condition_variable eventSeen;
    std::string responseText;
    int temporaryFd = -1;
    long long temporarySize = 0;
    std::atomic<bool> bodyPhase{false};  // data events write the temporary file
    std::atomic<bool> connected{false};
    std::atomic<bool> madeConnection{false};  // stays set when the server closes at once
    std::atomic<bool> connectFailed{false};
    std::atomic<bool> transferFailed{false};
    std::atomic<bool> cutShort{false};  // a secure answer ended without close_notify
    std::string failureWords;  // the last secure connection failure
    std::atomic<TDateTime> lastActivity{0};
};
