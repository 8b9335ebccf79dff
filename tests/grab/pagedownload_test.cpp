#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "grab/headerbuffer.h"
#include "grab/pagedownload.h"
#include "net/httplimits.h"
#include "support/tempfolder.h"

namespace {

using Outcome = TPageDownload::TOutcome;

// Feeds text in pieces of size bytes; gives what Take took of each.
std::vector<size_t> Feed(THeaderBuffer& header, const std::string& text, size_t size)
{
    std::vector<size_t> taken;
    for (size_t at = 0; at < text.size(); at += size)
        taken.push_back(header.Take(text.data() + at, std::min(size, text.size() - at)));
    return taken;
}

TEST(HeaderBuffer, TheEmptyLineIsFoundAcrossPiecesAndTheBodyIsLeft)
{
    for (size_t piece : {1u, 2u, 3u, 7u, 1000u}) {
        THeaderBuffer header;
        std::vector<size_t> taken = Feed(header, "HTTP/1.0 200 OK\r\nA: b\r\n\r\nbody", piece);
        EXPECT_TRUE(header.Complete()) << piece;
        EXPECT_EQ(header.Text(), "HTTP/1.0 200 OK\r\nA: b\r\n\r\n") << piece;
        size_t total = 0;
        for (size_t n : taken)
            total += n;
        EXPECT_EQ(total, header.Text().size()) << piece;
    }
    THeaderBuffer bare;
    Feed(bare, "HTTP/1.0 200 OK\n\nbody", 4);
    EXPECT_EQ(bare.Text(), "HTTP/1.0 200 OK\n\n");
}

TEST(HeaderBuffer, AHeaderWithoutEndStopsAtTheLimit)
{
    THeaderBuffer header;
    std::string line = "X-Endless: " + std::string(1000, 'a');
    size_t taken = 0;
    for (int i = 0; i < 100; ++i)
        taken += header.Take(line.data(), line.size());
    EXPECT_EQ(taken, MaxHeaderBytes);
    EXPECT_TRUE(header.TooLong());
    EXPECT_FALSE(header.Complete());
    EXPECT_EQ(header.Take("\r\n\r\n", 4), 0u);
    EXPECT_EQ(header.Text().size(), MaxHeaderBytes);
}

class PageDownloadTest : public ::testing::Test {
protected:
    std::string Page() const { return folder / "page.htm"; }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            if (entry.is_regular_file())
                names.push_back(entry.path().filename().string());
        return names;
    }
    // Takes an answer in pieces of 100 bytes until the download wants no more.
    static void Receive(TPageDownload& download, const std::string& answer)
    {
        for (size_t at = 0; at < answer.size(); at += 100)
            if (!download.Take(answer.data() + at, std::min<size_t>(100, answer.size() - at)))
                return;
    }

    TempFolder folder{TempFolder::Use::Plain};
};

TEST_F(PageDownloadTest, AWholeAnswerReplacesTheOlderCopyInOneRename)
{
    folder.Write("page.htm", "older");
    TPageDownload download(Page(), 0);
    ASSERT_TRUE(download.Open());
    Receive(download, "HTTP/1.0 200 OK\r\nContent-Length: 500\r\n\r\n" + std::string(500, 'n') + "junk after");
    EXPECT_EQ(folder.Read("page.htm"), "older");  // untouched until the answer is whole
    EXPECT_EQ(download.Outcome(0), Outcome::Whole);
    EXPECT_EQ(download.BodySize(), 500);
    ASSERT_TRUE(download.Land());
    EXPECT_EQ(folder.Read("page.htm"), std::string(500, 'n'));
    EXPECT_EQ(Files(), std::vector<std::string>{"page.htm"});
}

TEST_F(PageDownloadTest, OutcomesOfAnswersThatAreNotWholeAndGood)
{
    struct Case {
        const char* name;
        std::string answer;
        long long headLength;
        int transferError;
        Outcome outcome;
    };
    const std::string ok = "HTTP/1.0 200 OK\r\n";
    for (const Case& c : {
             Case{"shorter than its length", ok + "Content-Length: 1000\r\n\r\n" + std::string(300, 'x'), 0, 0,
                  Outcome::CutShort},
             Case{"shorter than the HEAD's length", ok + "\r\n" + std::string(300, 'x'), 1000, 0, Outcome::CutShort},
             Case{"its own length wins over the HEAD's", ok + "Content-Length: 300\r\n\r\n" + std::string(300, 'x'),
                  1000, 0, Outcome::Whole},
             Case{"reset", ok + "\r\n" + std::string(300, 'x'), 0, 10054, Outcome::Reset},
             Case{"reset after the whole length", ok + "Content-Length: 3\r\n\r\nabc", 0, 10054, Outcome::Whole},
             Case{"an error status", "HTTP/1.0 503 Busy\r\n\r\nerror page", 0, 0, Outcome::StatusBad},
             Case{"a moved page", "HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\n", 0, 0, Outcome::StatusBad},
             Case{"no end of header", ok + "Content-Type: text/html\r\n", 0, 0, Outcome::HeaderBad},
             Case{"too short a status line", "HTTP/1.0\r\n\r\nbody", 0, 0, Outcome::HeaderBad},
             Case{"no body", ok + "\r\n", 0, 0, Outcome::Empty},
         }) {
        TPageDownload download(Page(), c.headLength);
        ASSERT_TRUE(download.Open()) << c.name;
        Receive(download, c.answer);
        EXPECT_EQ(download.Outcome(c.transferError), c.outcome) << c.name;
        download.Discard();
        EXPECT_TRUE(Files().empty()) << c.name;
    }
}

TEST_F(PageDownloadTest, AnErrorAnswerIsNotWrittenAtAll)
{
    TPageDownload download(Page(), 0);
    ASSERT_TRUE(download.Open());
    std::string answer = "HTTP/1.0 500 Oops\r\n\r\n" + std::string(5000, 'e');
    EXPECT_FALSE(download.Take(answer.data(), answer.size()));
    EXPECT_EQ(download.Status(), "500");
    EXPECT_EQ(download.BodySize(), 0);
}

TEST_F(PageDownloadTest, TwoDownloadsOfOnePageKeepApartAndTheLastWholeOneLands)
{
    TPageDownload first(Page(), 0);
    TPageDownload second(Page(), 0);
    ASSERT_TRUE(first.Open());
    ASSERT_TRUE(second.Open());
    Receive(first, "HTTP/1.0 200 OK\r\n\r\n" + std::string(300, 'A'));
    Receive(second, "HTTP/1.0 200 OK\r\n\r\n" + std::string(700, 'B'));
    Receive(first, std::string(300, 'A'));
    ASSERT_TRUE(second.Land());
    ASSERT_TRUE(first.Land());
    EXPECT_EQ(folder.Read("page.htm"), std::string(600, 'A'));
    EXPECT_EQ(Files(), std::vector<std::string>{"page.htm"});
}

TEST_F(PageDownloadTest, AFolderThatCannotHoldTheFileFailsTheOpen)
{
    TPageDownload download(folder / "missing/page.htm", 0);
    EXPECT_FALSE(download.Open());
    EXPECT_FALSE(download.Take("HTTP/1.0 200 OK\r\n\r\nx", 20));
}

// A body of many pieces, larger than what is kept before a write, lands byte for byte.
TEST_F(PageDownloadTest, ALargeBodyLandsWholeThroughItsWrites)
{
    std::string body;
    for (int n = 0; body.size() < 300000; ++n)
        body += std::to_string(n) + ",";
    TPageDownload download(Page(), 0);
    ASSERT_TRUE(download.Open());
    Receive(download, "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_EQ(download.Outcome(0), Outcome::Whole);
    ASSERT_TRUE(download.Land());
    EXPECT_EQ(folder.Read("page.htm"), body);
}

// Files of this process may not grow past limit bytes while it lives: a full disk, for
// the writes of a download.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit lower = saved;
        lower.rlim_cur = limit;
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead
        ::setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

// A body the disk cannot take keeps the older copy and leaves no temporary file behind,
// whether the write fails while the body comes or as the page lands.
TEST_F(PageDownloadTest, ABodyTheDiskCannotTakeKeepsTheOlderCopy)
{
    struct Case {
        const char* name;
        size_t bodySize;
        Outcome outcome;
    };
    for (const Case& c : {Case{"fails as it lands", 30000, Outcome::Whole},
                          Case{"fails while it comes", 300000, Outcome::FileFailed}}) {
        folder.Write("page.htm", "older");
        TPageDownload download(Page(), 0);
        ASSERT_TRUE(download.Open()) << c.name;
        bool landed;
        {
            FileSizeLimit limit(16 * 1024);
            Receive(download, "HTTP/1.0 200 OK\r\n\r\n" + std::string(c.bodySize, 'n'));
            EXPECT_EQ(download.Outcome(0), c.outcome) << c.name;
            landed = download.Land();
        }
        EXPECT_FALSE(landed) << c.name;
        EXPECT_EQ(folder.Read("page.htm"), "older") << c.name;
        EXPECT_EQ(Files(), std::vector<std::string>{"page.htm"}) << c.name;
    }
}

}  // namespace
