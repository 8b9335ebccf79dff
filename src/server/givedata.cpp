#include "server/givedata.h"

#include <exception>

#include "core/mainthread.h"
#include "core/paths.h"
#include "core/userinterface.h"
#include "net/http.h"
#include "net/tcpserver.h"
#include "server/errorpage.h"
#include "server/pageserverhost.h"

namespace {

constexpr char AnswerErrorCode[] = "錯誤代碼:Givedata 112";
constexpr char LiveSendErrorCode[] = "錯誤代碼:Givedata 213";

// The browser page's animation; on the main thread.
void SetPlaying(bool playing)
{
    Ui().BrowserAnimate(playing);
}

}  // namespace

TGiveData::TGiveData(TTCPServer& Server, int ClientSocket, const std::string& RelativePath,
                     const std::string& PageURL, TPageServerHost* Host, TOnAnswered OnAnswered)
    : Server(Server),
      ClientSocket(ClientSocket),
      PageURL(PageURL),
      FilePath(RelativePath.empty() ? std::string() : JoinPath(ProgramFolder(), RelativePath)),
      Host(Host),
      OnAnswered(std::move(OnAnswered))
{
    SetPriority(Priority::Highest);
    SetFreeOnTerminate(true);
    // On the main thread already: the animation starts here without a hand-over.
    SetPlaying(true);
    try {
        Start();
    } catch (...) {
        SetPlaying(false);
        throw;
    }
}

void TGiveData::Execute()
{
    try {
        LoadStored();
        if (Found)
            ServeFile();
        else
            ServeMissing();
    } catch (const std::exception& error) {
        Report(AnswerErrorCode, error.what());
    } catch (...) {
        Report(AnswerErrorCode, "Unknown error");
    }
    Finish();
}

void TGiveData::LoadStored()
{
    Found = false;
    // A grab may be writing the file right now; whatever cannot be read counts as missing.
    try {
        Found = !FilePath.empty() && ReadWholeFile(FilePath, stream) && !stream.empty();
    } catch (const std::exception&) {
        stream.clear();
    }
}

void TGiveData::ServeFile()
{
    // The store holds bodies only: the bytes go out as they are, with nothing before them.
    Send(stream);
}

void TGiveData::ServeMissing()
{
    int list = 0;
    if (Host)
        Synchronize([this, &list] { list = Host->CurrentList(); });
    if (list != PhoneBookList) {
        Send(ErrorPage(TErrorPage::NotStored, PageURL));
        return;
    }
    if (!Host->EnsureConnection()) {
        Send(ErrorPage(TErrorPage::NoNetwork, PageURL));
        return;
    }
    FetchLive();
}

void TGiveData::FetchLive()
{
    // The client has no window and no event of the main thread, so it lives on this
    // thread alone.
    THTTP http;
    http.URL = PageURL;
    try {
        http.Get();
    } catch (...) {
        // Every failure of the fetch (no address, no connection, an error status, a port
        // that is no number) is the browser's download-failed page, not a message.
        Send(ErrorPage(TErrorPage::DownloadFailed, PageURL));
        return;
    }
    try {
        stream = http.Body();
        Send(stream);
    } catch (const std::exception& error) {
        Report(LiveSendErrorCode, error.what());
    }
    stream.clear();
}

void TGiveData::Send(const std::string& bytes)
{
    // A failed send is reported through the server's OnError; the browser has gone.
    Server.SendAll(ClientSocket, bytes.data(), static_cast<long>(bytes.size()));
}

void TGiveData::Report(const std::string& code, const std::string& message)
{
    try {
        Synchronize([text = code + message] { Ui().Error(text); });
    } catch (...) {
        // Nothing is left to tell it with; the connection must still be closed.
    }
}

void TGiveData::Finish()
{
    // Nothing is left for this thread to wait for: the main thread closes the connection
    // when it comes to it, after this thread may have ended.
    PostToMain([answered = OnAnswered, socket = ClientSocket] {
        answered(socket);
        try {
            SetPlaying(false);
        } catch (...) {
            // The answer is complete and closed; a failing animation changes nothing of it.
        }
    });
}
