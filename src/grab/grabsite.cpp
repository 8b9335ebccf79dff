#include "grab/grabsite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/log.h"
#include "core/mainthread.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/userinterface.h"
#include "core/version.h"
#include "grab/graberrors.h"
#include "grab/grabstate.h"
#include "grab/grabtimings.h"
#include "grab/httpdate.h"
#include "grab/pagedownload.h"
#include "grab/pagestore.h"
#include "grab/redirect.h"
#include "grab/wirepath.h"
#include "net/dns.h"
#include "net/tcpclient.h"
#include "net/tlserrors.h"
#include "platform/diskspace.h"

namespace {

const size_t kReceiveBuffer = 1024;
// A HEAD answer is read only up to the end of its header, so larger reads are harmless.
const size_t kHeaderReceiveBuffer = 4096;

std::string Format(const char* format, long long number, const std::string& text)
{
    char buffer[4096];
    std::snprintf(buffer, sizeof buffer, format, number, text.c_str());
    return buffer;
}

// A text from the network as a log line may hold it: control characters shown as "?" and
// cut to a length a reader can take in.
std::string LogText(const std::string& text)
{
    constexpr size_t MaxLogText = 200;
    std::string shown = text.substr(0, MaxLogText);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < ' ' || c == 0x7F)
            c = '?';
    return text.size() > MaxLogText ? shown + "..." : shown;
}

int NumberOr(const std::string& text, int fallback)
{
    long long value = 0;
    return TryToInt(text, value) ? static_cast<int>(value) : fallback;
}

// False for the programs (".exe", ".com"), which are fetched without a HEAD first. The
// page file's name ends as the address's path does, so either tells before a connection
// whether its HEAD will be asked.
bool AsksHead(const std::string& name)
{
    return !EndsWithText(name, ".exe") && !EndsWithText(name, ".com");
}

// Makes the folders above file; false when one cannot be made.
bool MakeFolderOf(const std::string& file)
{
    try {
        ForceFolderOf(file);
    } catch (const EInOutError&) {
        return false;  // the caller says the file could not be written
    }
    return true;
}

}  // namespace

TGrabSite::TGrabSite(int slaveNo, bool crossSite, bool textOnly, TGrabScheduler& scheduler)
    : scheduler(scheduler),
      slaveNo(slaveNo),
      crossSite(crossSite),
      textOnly(textOnly)
{
    SetPriority(Priority::Lower);
}

TGrabSite::~TGrabSite() = default;

std::string TGrabSite::CurrentURL() const
{
    std::lock_guard guard(textLock);
    return url;
}

std::string TGrabSite::StatusText() const
{
    std::lock_guard guard(textLock);
    return statusText;
}

void TGrabSite::SetURL(const std::string& text)
{
    std::lock_guard guard(textLock);
    url = text;
}

void TGrabSite::StoreStatusText(const std::string& text)
{
    std::lock_guard guard(textLock);
    statusText = text;
}

void TGrabSite::Execute()
{
    // However Run ends, the client goes with the thread: its events would reach a thread
    // that is gone otherwise. What the last page left for the main thread goes too; that
    // it cannot be shown is an error in clean-up, which is swallowed.
    struct ClientEnd {
        TGrabSite& site;
        ~ClientEnd()
        {
            if (!site.heldStatus.empty()) {
                try {
                    site.HandOver([] {});
                } catch (...) {
                }
            }
            Synchronize([this] { site.FreeClient(); });
        }
    } clientEnd{*this};
    Run();
    HandOver([this] { ShowStatus(); });
}

bool TGrabSite::Stopping() const
{
    return GrabState().StopFlag || Terminated() || scheduler.EndRequested();
}

void TGrabSite::StatusLine(const std::string& text)
{
    auto show = [&] {
        if (!text.empty() && !Terminated() && MainWindowReady())
            Ui().Status(text);
    };
    if (IsMainThread())
        show();
    else if (slaveNo > 0 && !text.empty())
        heldStatus = text;
    else
        HandOver(show);
}

void TGrabSite::ShowError(const std::string& text)
{
    HandOver([&] { Ui().Error(text); });
}

void TGrabSite::HandOver(const std::function<void()>& fn)
{
    std::string status;
    status.swap(heldStatus);
    Synchronize([&] {
        ShowHeldStatus(status);
        fn();
    });
}

void TGrabSite::PostHeldStatus()
{
    if (heldStatus.empty())
        return;
    // The thread's last hand-over, when it ends, comes after this call in the main
    // thread's queue: the thread is still there when it runs.
    PostToMain([this, status = std::move(heldStatus)] {
        try {
            ShowHeldStatus(status);
        } catch (...) {
            std::lock_guard guard(eventLock);
            statusFailure = std::current_exception();
        }
    });
    heldStatus.clear();
}

void TGrabSite::RethrowStatusFailure()
{
    std::exception_ptr failure;
    {
        std::lock_guard guard(eventLock);
        failure.swap(statusFailure);
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TGrabSite::ShowHeldStatus(const std::string& status)
{
    if (!status.empty() && !Terminated() && MainWindowReady())
        Ui().Status(status);
}

void TGrabSite::SetMeter(int value)
{
    if (slaveNo > 0)
        Ui().Meter(slaveNo, value);
}

void TGrabSite::Wake()
{
    {
        std::lock_guard guard(eventLock);
    }
    eventSeen.notify_all();
}

template <typename Done> void TGrabSite::WaitBriefly(Done done, int milliseconds)
{
    std::unique_lock lock(eventLock);
    eventSeen.wait_for(lock, std::chrono::milliseconds(milliseconds), done);
}

// ---- the client's events, on the main thread ----

void TGrabSite::MakeClient()
{
    client = new TTCPClient();
    client->OnConnect = [this](TCustomSocket*, int) { ClientConnected(); };
    client->OnClose = [this](TCustomSocket*, int) { ClientClosed(); };
    client->OnError = [this](TCustomSocket*, int error, const std::string& words) { ClientFailed(error, words); };
    client->OnData = [this](TCustomSocket*, int) {
        if (!serving)
            IdleData();
        else if (bodyPhase)
            BodyData();
        else
            HeaderData();
    };
}

void TGrabSite::FreeClient()
{
    delete client;
    client = nullptr;
}

void TGrabSite::StartConnect(unsigned attempt, const std::string& host, const std::string& port, bool secure,
                             int socket, const std::string& request)
{
    earlyRequest = request;
    connected = false;
    madeConnection = false;
    connectFailed = false;
    reusable = false;
    serving = true;
    {
        std::lock_guard guard(eventLock);
        failureWords.clear();
    }
    startedAttempt = attempt;
    client->Host = host;
    client->Port = port;
    client->Secure = secure;
    if (socket < 0) {
        // The look-up or the connect failed at once, and said so: no connection is left.
        client->Close();
        connectFailed = true;
        Wake();
        return;
    }
    client->WatchDialled(socket);
}

void TGrabSite::ClientConnected()
{
    // The host cache is the main thread's: the server's folder is settled here, at once.
    std::string peer;
    client->PeerAddress(peer);
    std::string folder = HostCache() ? HostCache()->Remember(client->Host, peer) : peer;
    {
        std::lock_guard guard(eventLock);
        peerFolder = folder.empty() ? peer : folder;
    }
    connected = true;
    std::string request;
    request.swap(earlyRequest);
    // A slave's request to its own site goes out at once: the thread is then woken once,
    // by the answer, instead of once more to send it. The master's status line shows each
    // step, so the master sends its own.
    bool early = !request.empty() && slaveNo > 0 && (crossSite || SameText(peerFolder, GrabState().SiteAddress()));
    if (early) {
        // Set before the connection counts as made: a thread that wakes then finds its
        // request sent and waits for the answer.
        keepAsked = client->Secure;
        answerStarted = false;
        answerDone = false;
        reusable = false;
        serving = true;
        lastActivity = Now();
        sentEarly = true;
    }
    madeConnection = true;
    SetMeter(0);
    if (early)
        client->Send(request);
    else
        Wake();
}

void TGrabSite::ClientClosed()
{
    int error = client->CloseError();
    if (error != 0 && transferError == 0)
        transferError = error;
    connected = false;
    reusable = false;
    Wake();
}

void TGrabSite::ClientFailed(int error, const std::string& words)
{
    if (error == TLS_E_FAILED) {
        std::lock_guard guard(eventLock);
        failureWords = words;
    }
    // A connect that failed (refused, unknown host, no secure connection) ends the wait
    // for it at once; a failed read of a connection, or a secure answer whose end the
    // server did not confirm, breaks its answer.
    reusable = false;
    if (!connected)
        connectFailed = true;
    else if (transferError == 0)
        transferError = error;
    Wake();
}

void TGrabSite::EndTransfer()
{
    client->Close();
    connected = false;
    reusable = false;
    Wake();
}

void TGrabSite::AnswerKept()
{
    serving = false;
    reusable = true;
    answerDone = true;
    Wake();
}

void TGrabSite::IdleData()
{
    char buffer[kReceiveBuffer];
    // A read that gives nothing took a part of a record, or a session ticket.
    if (client->ReceiveBuf(buffer, static_cast<long>(sizeof buffer)) > 0)
        EndTransfer();  // out of step with the requests: the connection is not used again
}

void TGrabSite::HeaderData()
{
    char buffer[kHeaderReceiveBuffer];
    long count = client->ReceiveBuf(buffer, static_cast<long>(sizeof buffer));
    if (count <= 0)
        return;
    lastActivity = Now();
    answerStarted = true;
    bool complete;
    bool enough;
    bool kept;
    {
        std::lock_guard guard(eventLock);
        size_t used = headAnswer.Take(buffer, static_cast<size_t>(count));
        complete = headAnswer.Complete();
        enough = complete || headAnswer.TooLong();
        // A HEAD answer has no body: bytes after its header put the connection out of step.
        kept = complete && keepAsked && used == static_cast<size_t>(count) && KeepsConnection(headAnswer.Text());
    }
    // What follows the header of a HEAD answer is never wanted.
    if (kept)
        AnswerKept();
    else if (enough)
        EndTransfer();
}

void TGrabSite::BodyData()
{
    char buffer[kReceiveBuffer];
    long count = client->ReceiveBuf(buffer, static_cast<long>(sizeof buffer));
    if (count > 0 && !Stopping()) {
        answerStarted = true;
        bool wantsMore;
        bool kept = false;
        long long size;
        {
            std::lock_guard guard(eventLock);
            wantsMore = download && download->Take(buffer, static_cast<size_t>(count));
            size = download ? download->BodySize() : 0;
            if (!wantsMore && download && keepAsked)
                kept = download->EndedAsDeclared() && KeepsConnection(download->Header());
        }
        StatusLine(page.URLText() + "(" + std::to_string(size) + ")位元下載");
        if (TemporaryTooLarge(size)) {
            TLog::Line(Format((std::to_string(slaveNo) + ":檔案已經超過(%lldK),停止下載這個網頁(%s)").c_str(),
                              size / 1024, page.URLText()));
            StatusLine(page.URLText() + " 檔案過大,停止下載");
            transferFailed = true;
            EndTransfer();
        } else if (kept) {
            AnswerKept();
        } else if (!wantsMore) {
            EndTransfer();
        } else {
            SetMeter(static_cast<int>(count));
            lastActivity = Now();
        }
    }
    SetMeter(0);
}

bool TGrabSite::TemporaryTooLarge(long long size) const
{
    return slaveNo > 0 && size > Settings().maxFileSize;
}

// ---- the page, on this thread ----

void TGrabSite::GrabPage(const std::string& urlText)
{
    pageWhole = false;
    if (urlText.empty())
        return;
    asked = Turl(urlText);
    page = asked;
    redirects = {asked.URLText()};
    pageFile.clear();
    GrabState().SetCurrentPage(page.URLText());
    if (!client)
        HandOver([this] { MakeClient(); });
    try {
        CheckLimits();
        while (ProbeAndFetch())
            continue;
    } catch (...) {
        DropConnection();
        throw;
    }
    // A wait that a stop ended leaves its connection open; a kept one stays.
    if (connected && !reusable)
        DropConnection();
}

void TGrabSite::DropConnection()
{
    reusable = false;
    PostToMain([this] {
        if (client)
            EndTransfer();
    });
}

bool TGrabSite::ProbeAndFetch()
{
    ConnectAndProbe();
    while (!Stopping() && ParseHeader())
        ConnectAndProbe();
    if (Stopping())
        return false;
    long long length = 0;
    contentLength = TryToInt(headerTable.Value("Content-Length"), length) ? length : 0;
    bool newer = true;
    try {
        newer = IsNewer();
    } catch (const std::exception&) {
        newer = true;  // a stored date that cannot be read counts as older
    }
    // Quick mode fetches text only: pictures, sounds and the like are left out.
    bool wanted = !textOnly || StartsWithText(headerTable.Value("Content-Type"), "text/");
    bool whole = true;
    getMoved = false;
    if (!newer)
        StatusLine(page.URLText() + " 檔案資料沒變, 不需下載");
    else if (wanted)
        whole = !pageFile.empty() && FetchBody();
    if (getMoved)
        return true;
    if (!pageFile.empty() && FileExists(pageFile) && !Stopping()
        && TLinkScanner::IsScanned(headerTable.Value("Content-Type")))
        ScanStoredPage();
    pageWhole = whole && !Stopping();
    return false;
}

void TGrabSite::CheckLimits()
{
    std::string host = page.HostName();
    if (slaveNo > 0 && !crossSite) {
        std::string known = HostCache() ? HostCache()->Lookup(host) : std::string();
        if (!known.empty() && known != GrabState().SiteAddress())
            throw EParseHeader("不想外抓,由ip預先預防");
    }
    std::int64_t free = FreeDiskBytes(ProgramFolder());
    if (free >= 0 && free / 1048576 < Settings().minVolumn) {
        TLog::Line(std::to_string(slaveNo) + ":停止下載" + page.URLText() + "硬碟容量不足");
        std::string caption = ShortDateTimeText(Now());
        HandOver([&] { Ui().WarningDialog(caption, "硬碟容量不足"); });
        GrabState().StopFlag = true;
        StatusLine("硬碟容量不足");
        throw EQuotaError("硬碟容量不足");
    }
    CheckSiteTime();
}

void TGrabSite::CheckSiteTime()
{
    if (MinutesElapsed(GrabState().SiteStart, Now()) <= Settings().maxSiteTime)
        return;
    TLog::Line(std::to_string(slaveNo) + ":" + page.URLText() + "抓取時間過長,換下一個站台");
    StatusLine("單站抓取時間過長,換下一個站台");
    GrabState().StopFlag = true;
    throw EGrabToLong("單站抓取時間過長,換下一個站台");
}

void TGrabSite::ConnectAndProbe()
{
    std::string host = page.HostName();
    {
        std::lock_guard guard(eventLock);
        headAnswer = THeaderBuffer();
    }
    Connect(AsksHead(asked.LocalPath()) ? RequestText("HEAD") : std::string());
    SetStatus("主機已回應(" + host + ")");
    // The page goes where its own address leads, whatever address answers at last.
    if (redirects.size() == 1) {
        siteFolder = SiteFolder(connectedFolder);
        pageFile = PageFile(siteFolder, asked.LocalPath());
    }
    if (AsksHead(pageFile))
        SendRequest("HEAD");
}

void TGrabSite::Connect(const std::string& request)
{
    sentEarly = false;
    std::string server = page.HostName() + ":" + page.PortText();
    reusedConnection = page.IsSecure() && reusable && connected && server == keptFor;
    if (!reusedConnection) {
        OpenConnection(request);
        return;
    }
    SetStatus("嘗試連結主機: " + page.HostName());
    CheckPeer();
}

void TGrabSite::OpenConnection(const std::string& request)
{
    std::string host = page.HostName();
    std::string port = page.PortText();
    bool secure = page.IsSecure();
    reusable = false;
    unsigned attempt = ++attempts;
    keptFor = host + ":" + port;
    // The name look-up and the connect are this thread's; the main thread, which serves
    // every window and connection, takes over the socket without our waiting for it.
    int socket = client->Dial(host, port);
    PostToMain([this, attempt, host, port, secure, socket, request] {
        StartConnect(attempt, host, port, secure, socket, request);
    });
    WaitConnected();
}

void TGrabSite::WaitConnected()
{
    std::string host = page.HostName();
    SetStatus("嘗試連結主機: " + host);
    const TGrabTimings& timings = GrabTimings();
    const unsigned attempt = attempts;
    auto ended = [this, attempt] { return startedAttempt == attempt && (madeConnection || connectFailed); };
    auto done = [&] { return ended() || Stopping(); };
    for (int pass = 0; pass < timings.connectPasses && !done(); ++pass) {
        CheckSiteTime();
        WaitBriefly(done, timings.connectPassMs);
    }
    // A stop while the answer to a request sent as the connection stood comes ends the
    // page as a stop during any answer does: the server did answer.
    const bool made = ended() && madeConnection;
    if (!made || (Stopping() && !sentEarly)) {
        std::string words;
        {
            std::lock_guard guard(eventLock);
            words.swap(failureWords);
        }
        if (!words.empty() && !Stopping()) {
            SetStatus("無法建立安全連線(" + host + ")");
            TLog::Line(std::to_string(slaveNo) + ":無法建立安全連線(" + page.URLText() + ")(" + words + ")");
            throw EServerNoResponse("無法建立安全連線");
        }
        SetStatus("主機太久沒有回應(" + host + ")");
        TLog::Line(Format("%lld:主機沒有回應(%s)", slaveNo, page.URLText()));
        throw EServerNoResponse("主機沒有回應");
    }
    CheckPeer();
}

void TGrabSite::CheckPeer()
{
    // A host keeps the folder of the first address it was reached at: a site behind
    // several addresses stays in one folder, and is never foreign to itself.
    {
        std::lock_guard guard(eventLock);
        connectedFolder = peerFolder;
    }
    if (slaveNo == 0) {
        if (redirects.size() == 1)
            GrabState().SetSiteAddress(connectedFolder);
    } else if (!crossSite && !SameText(connectedFolder, GrabState().SiteAddress())) {
        throw EParseHeader("不想外抓,但是外抓了");
    }
}

void TGrabSite::SendRequest(const std::string& method)
{
    bool reused = reusedConnection;
    Ask(method);
    if (reused && !answerStarted && !connected && !Stopping()) {
        // The server closed the connection it had kept, before this request reached it.
        transferError = 0;
        OpenConnection();
        Ask(method);
    }
}

void TGrabSite::Ask(const std::string& method)
{
    // The main thread may have sent it as the connection stood.
    if (!sentEarly.exchange(false)) {
        keepAsked = page.IsSecure();
        answerStarted = false;
        answerDone = false;
        reusable = false;
        serving = true;
        client->Send(RequestText(method));
        lastActivity = Now();
    }
    while (connected && !answerDone && !Stopping()) {
        CheckSiteTime();
        TDateTime now = Now();
        if (MinutesElapsed(lastActivity, now) > GrabTimings().slowDataMinutes) {
            TLog::Line(std::to_string(slaveNo) + ":主機回覆資料時間過長(" + page.URLText() + ")" + "("
                       + ShortDateTimeText(lastActivity) + "->" + ShortDateTimeText(now) + ")");
            throw EFetchPage("主機給資料太慢");
        }
        WaitBriefly([this] { return !connected || answerDone; }, 100);
    }
}

// The request goes in one send: line by line, each line after the first would wait for
// the server to acknowledge the one before (a round trip to a distant server), and over
// TLS each would be a record of its own. Over TLS the server is asked to keep the
// connection for the next request: the answers are then read to the length their headers
// give, not to the close.
std::string TGrabSite::RequestText(const std::string& method) const
{
    const bool keep = page.IsSecure();
    return method + " " + WirePath(page.PathPart()) + " HTTP/1.0\r\nAccept: */*\r\nHost: " + page.HostName()
           + "\r\nUser-Agent: " + UserAgent() + "\r\n" + (keep ? "Connection: keep-alive\r\n" : "") + "\r\n";
}

bool TGrabSite::ParseHeader()
{
    headerTable.Set("Content-Length", "0");
    std::string response;
    {
        std::lock_guard guard(eventLock);
        response = headAnswer.Text();
    }
    if (response.empty() || !HasHeaderEnd(response) || response.size() < 12)
        throw EParseHeader("Header格式不對");
    statusCode = StatusCodeOf(response);
    switch (statusCode[0]) {
    case '2':
        break;
    case '3':
        if (FollowRedirect(statusCode, LocationOf(response)))
            return true;
        throw EParseHeader(statusCode + "網頁搬家了");
    case '4':
        throw EParseHeader("找不到網頁");
    case '5':
        throw EParseHeader("server有錯誤");
    default:
        throw EParseHeader("其他header錯誤");
    }
    headerTable.Take(response, [this] { return Stopping(); });
    long long length = 0;
    contentLength = TryToInt(headerTable.Value("Content-Length"), length) ? length : 0;
    if (slaveNo > 0 && contentLength > Settings().maxFileSize) {
        TLog::Line(Format((std::to_string(slaveNo) + ":檔案太大(共%lldK),略過本網頁不要下載(%s)").c_str(),
                          contentLength / 1024, page.URLText()));
        StatusLine(page.URLText() + " 檔案過大,放棄下載");
        HandOver([this] { SetMeter(0); });
        throw EFileToLarge("抓取的檔案太大");
    }
    return false;
}

bool TGrabSite::FollowRedirect(const std::string& status, const std::string& location)
{
    TRedirect next = DecideRedirect(redirects, NumberOr(status, 0), location, crossSite);
    if (!next.follow) {
        TLog::Line(std::to_string(slaveNo) + ":網頁搬家了,沒有跟過去(" + status + " " + page.URLText() + " -> "
                   + LogText(location) + "):" + next.refusal);
        return false;
    }
    page = next.target;
    redirects.push_back(page.URLText());
    return true;
}

bool TGrabSite::IsNewer()
{
    // No stored file, or a folder in its place, is older than anything the server has.
    // Not blocking: a pipe in the store would hold the open until something writes to it.
    int fd = ::open(pageFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR))
        return true;
    if (fd < 0) {
        ShowError("getFileGMTTime except" + std::string(std::strerror(errno)));
        return true;
    }
    struct stat info {};
    bool known = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    if (!known)
        return true;
    return ServerIsNewer(Rfc1123Date(info.st_mtim.tv_sec), headerTable.Value("Last-Modified"));
}

bool TGrabSite::FetchBody()
{
    TPageDownload answer(pageFile, contentLength);
    // The file is made before the connection: the request may go out, and the answer come
    // in, as soon as the connection stands, before this thread wakes.
    if (!MakeFolderOf(pageFile) || !answer.Open()) {
        LogFailedGet("無法寫入暫存檔");
        return false;
    }
    transferFailed = false;
    transferError = 0;
    // The answer lives here: the events stop feeding it however the fetch ends.
    SetDownload(&answer);
    struct Unset {
        TGrabSite& site;
        ~Unset() { site.SetDownload(nullptr); }
    } unset{*this};
    if (!ConnectForGet() || !GetInto() || Stopping())
        return false;
    int error = transferError;
    TPageDownload::TOutcome outcome = answer.Outcome(error);
    // A GET answer may move the page as a HEAD answer does.
    if (outcome == TPageDownload::TOutcome::StatusBad && IsRedirectStatus(NumberOr(answer.Status(), 0))) {
        getMoved = FollowRedirect(answer.Status(), answer.Location());
        return false;
    }
    if (outcome != TPageDownload::TOutcome::Whole) {
        LogFailedGet(answer, error);
        return false;
    }
    if (!answer.Land()) {
        LogFailedGet("無法寫入暫存檔");
        return false;
    }
    GrabState().PagesStored++;
    GrabState().BytesStored += answer.BodySize();
    return true;
}

void TGrabSite::SetDownload(TPageDownload* answer)
{
    {
        std::lock_guard guard(eventLock);
        download = answer;
    }
    bodyPhase = answer != nullptr;
}

bool TGrabSite::ConnectForGet()
{
    try {
        Connect(RequestText("GET"));
    } catch (const std::exception&) {
        return false;  // the fetch fails; what went wrong is in the log and the status line
    }
    return true;
}

bool TGrabSite::GetInto()
{
    try {
        SendRequest("GET");
    } catch (const std::exception&) {
        return false;  // a slow server or the site time: already in the log
    }
    return !transferFailed;
}

void TGrabSite::LogFailedGet(const TPageDownload& answer, int error) const
{
    switch (answer.Outcome(error)) {
    case TPageDownload::TOutcome::CutShort:
        LogFailedGet("網頁傳輸不完整(收到" + std::to_string(answer.BodySize()) + "位元,應有"
                     + std::to_string(answer.ExpectedSize()) + "位元)");
        break;
    case TPageDownload::TOutcome::Reset:
        LogFailedGet(error == TLS_E_CUT_SHORT ? "安全連線沒有正常結束" : "連線被主機中斷");
        break;
    case TPageDownload::TOutcome::StatusBad:
        LogFailedGet("下載時主機回應" + answer.Status());
        break;
    case TPageDownload::TOutcome::HeaderBad:
        LogFailedGet("下載時Header格式不對");
        break;
    case TPageDownload::TOutcome::FileFailed:
        LogFailedGet("無法寫入暫存檔");
        break;
    case TPageDownload::TOutcome::Empty:
    case TPageDownload::TOutcome::Whole:
        // An empty body leaves nothing to store and nobody anything to act on.
        break;
    }
}

void TGrabSite::LogFailedGet(const std::string& what) const
{
    TLog::Line(std::to_string(slaveNo) + ":" + what + ",放棄這次下載(" + page.URLText() + ")");
}

void TGrabSite::ScanStoredPage()
{
    TScanRequest request;
    request.pageFile = pageFile;
    request.pageUrl = page;  // the address that answered
    request.level = Level;
    request.textOnly = textOnly;
    request.contentType = headerTable.Value("Content-Type");
    request.stopped = [this] { return Stopping(); };
    scanner.ScanPage(request);
}
