#pragma once

#include <functional>
#include <string>

#include "core/thread.h"

class TPageServerHost;
class TTCPServer;

// Answers one browser request on its own thread: the stored file's bytes, a page fetched
// live, or an error page; then hands the connection back to the main thread, which
// closes it and stops the browser page's animation that creation started. Starts at
// once, at the highest priority, and frees itself when done.
class TGiveData final : public TThread {
public:
    // Runs on the main thread once the answer is sent; the connection is still open.
    using TOnAnswered = std::function<void(int Socket)>;

    // Created on the main thread. Host may be null: then no page is fetched live.
    TGiveData(TTCPServer& Server, int ClientSocket, const std::string& RelativePath, const std::string& PageURL,
              TPageServerHost* Host, TOnAnswered OnAnswered);

protected:
    void Execute() override;

private:
    // Loads the stored file into stream; Found when it could be read and is not empty.
    void LoadStored();
    void ServeFile();
    void ServeMissing();
    void FetchLive();
    void Send(const std::string& bytes);
    // Shows code followed by message in an error box on the main thread.
    void Report(const std::string& code, const std::string& message);
    void Finish();

    TTCPServer& Server;
    const int ClientSocket;
    const std::string PageURL;
    const std::string FilePath;
    TPageServerHost* const Host;
    const TOnAnswered OnAnswered;
    bool Found = false;
    std::string stream;  // the bytes being sent
};
