#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "core/thread.h"
#include "grab/grabscheduler.h"
#include "grab/headerbuffer.h"
#include "grab/headertable.h"
#include "grab/linkscanner.h"
#include "grab/turl.h"

class TPageDownload;
class TTCPClient;

// A grab thread: fetches pages with HEAD and GET over its own client socket, stores them
// in the page store and scans the HTML ones for links. The client lives on the main
// thread, whose events fill in what this thread waits for; every hand-over to the main
// thread names its target. It is made for the thread's first page and kept until the
// thread ends, so that a page costs the main thread no more than its connections' events.
// Plain HTTP asks one request per connection; over TLS, where each new connection costs a
// handshake, a connection the server keeps open carries the thread's next request to the
// same server. The master (SlaveNo 0) grabs a site's home page, the slaves (1 to 5) the
// pages it and they queue.
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
    // The last GrabPage ended without an error, and its page is stored whole: fetched,
    // found unchanged, or not wanted in quick mode.
    bool PageWhole() const { return pageWhole; }
    // The status line of the main window: on the main thread, when there is a text, the
    // thread has not been told to end and the window is ready. A slave's is held for its
    // next hand-over, or for PostHeldStatus; only the latest one held is shown.
    void StatusLine(const std::string& text);
    // A message box of the main thread.
    void ShowError(const std::string& text);
    // Runs fn on the main thread and waits for it, after the status line a slave's page
    // held: whatever fails in showing it fails in this hand-over, as in one of its own.
    void HandOver(const std::function<void()>& fn);
    // Sends the held status line to the main thread without waiting, so that a slave's
    // page ends without a hand-over. What fails in showing it is kept for
    // RethrowStatusFailure.
    void PostHeldStatus();
    void RethrowStatusFailure();
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
    // Stops the site when it has been grabbed for longer than maxSiteTime; also checked
    // while waiting for a server, so that a slow one cannot hold a thread past it.
    void CheckSiteTime();
    void ConnectAndProbe();
    // A connection for the next request to page's server: the one kept from the last
    // answer when it may carry another, else a new one. request, when given, is that
    // request: a slave's goes out from the main thread as soon as a new connection
    // stands, and Ask then only waits for the answer.
    void Connect(const std::string& request = {});
    void OpenConnection(const std::string& request = {});
    void WaitConnected();
    // The host's folder, and the site's checks of it, once a connection stands.
    void CheckPeer();
    // Sends the request and waits for its answer; over a kept connection that the server
    // closed before answering, once more over a new one.
    void SendRequest(const std::string& method);
    void Ask(const std::string& method);
    std::string RequestText(const std::string& method) const;
    // One probe of the page, following moves of its HEAD answers, and its fetch. True
    // when the GET answer moved the page and page names the address to ask next.
    bool ProbeAndFetch();
    // True when the answer moved the page and page now names the address to ask next.
    bool ParseHeader();
    // True when a move to location is followed (page then names it); else logged.
    bool FollowRedirect(const std::string& status, const std::string& location);
    bool IsNewer();
    // True when the page file now holds this fetch's whole answer.
    bool FetchBody();
    // The GET answer the data events feed, or none.
    void SetDownload(TPageDownload* answer);
    bool ConnectForGet();
    bool GetInto();
    // The log line of a GET that stored nothing: why, in a few words.
    void LogFailedGet(const TPageDownload& download, int error) const;
    void LogFailedGet(const std::string& what) const;
    void ScanStoredPage();
    // Closes the connection on the main thread, without waiting.
    void DropConnection();

    // On the main thread.
    void MakeClient();
    void FreeClient();
    // Makes socket, dialled by this thread (-1 when that failed), the client's connection;
    // request, when given, is sent as soon as it stands.
    void StartConnect(unsigned attempt, const std::string& host, const std::string& port, bool secure, int socket,
                      const std::string& request);
    void ClientConnected();
    void ClientClosed();
    void ClientFailed(int error, const std::string& words);
    void HeaderData();
    void BodyData();
    // Bytes on a kept connection that no request asked for.
    void IdleData();
    // The answer wants no more bytes: close the connection and end the wait for it.
    void EndTransfer();
    // The answer is whole and the connection stays open for another request.
    void AnswerKept();
    void SetMeter(int value);
    void ShowHeldStatus(const std::string& status);  // on the main thread

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
    bool pageWhole = false;
    std::string heldStatus;  // a slave's latest status line, not shown yet

    // Shared with the client's events; the events run on the main thread.
    std::mutex eventLock;
    std::condition_variable eventSeen;
    std::exception_ptr statusFailure;  // of a status line sent without waiting
    THeaderBuffer headAnswer;
    TPageDownload* download = nullptr;  // of the GET under way
    std::string peerFolder;  // the host cache's folder of the server connected to last
    std::atomic<int> transferError{0};  // the error the answer ended with
    std::atomic<bool> bodyPhase{false};  // data events feed the download
    // Connections are counted, so that the flags below, reset on the main thread when a
    // connection starts, are never read from an earlier one.
    std::atomic<unsigned> attempts{0};
    std::atomic<unsigned> startedAttempt{0};
    std::atomic<bool> connected{false};
    std::atomic<bool> madeConnection{false};  // stays set when the server closes at once
    std::atomic<bool> connectFailed{false};
    std::atomic<bool> transferFailed{false};
    std::atomic<bool> keepAsked{false};     // the request asked the server to keep the connection
    std::atomic<bool> answerStarted{false}; // bytes of the answer came
    std::atomic<bool> answerDone{false};    // the answer ended, the connection kept
    std::atomic<bool> serving{false};       // the connection is for a request, not kept idle
    std::atomic<bool> reusable{false};      // the connection may carry the next request
    std::string keptFor;       // the server and port of the connection; this thread's only
    bool reusedConnection = false;  // the last Connect used the kept connection
    bool getMoved = false;     // the last GET answer moved the page
    std::string failureWords;  // why the last secure connection could not be made
    std::atomic<TDateTime> lastActivity{0};
    std::string earlyRequest;  // main thread only: to send as the connection being made stands
    std::atomic<bool> sentEarly{false};  // the main thread sent the request as the connection stood
};
