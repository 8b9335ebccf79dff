#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "grabtestkit.h"
#include "platform/process.h"
#include "support/nginxserver.h"

namespace {

using Files = std::vector<std::string>;

// A small site with every link form of today's pages, two levels deep from index.html,
// and what a grab of depth 2 stores of it (paths below the site folder).
std::map<std::string, std::string> TodaysSite()
{
    std::map<std::string, std::string> site{
        {"index.html",
         "<html><head><link rel='stylesheet' href='css/site.css'>\n"
         "<style type=\"text/css\">\n@import \"css/print.css\" print;\nbody { background: url( img/body.png ) }\n"
         "</style></head>\n<body background='img/back.gif'>\n"
         "<a href='page2.html'>two</a> <a href=\"page3.html#part\">three</a> <a href=\"#top\">top</a>\n"
         "<a href=\"javascript:void(0)\">script</a>\n"
         "<img src=\"img/a.jpg\" srcset=\"img/a-1x.jpg 1x, img/a,2x.jpg 2x\" alt=\"it's a picture\">\n"
         "<picture><source srcset='img/wide.jpg 1200w, img/narrow.jpg 600w'><img src=\"img/fallback.jpg\"></picture>\n"
         "<img src=\"data:image/gif;base64,R0lGODlhAQABAAAAACw=\" data-src=\"img/lazy.jpg\" "
         "data-srcset=\"img/lazy-2x.jpg 2x\">\n"
         "<video poster=\"img/poster.jpg\" src='media/clip.mp4'></video>\n"
         "<div style=\"background-image: url('img/hero.jpg'); color: red\">hero</div>\n"
         "<table background=\"img/table.gif\"><tr><td>cell</td></tr></table>\n</body></html>\n"},
        {"css/site.css",
         "@import url(parts/fonts.css);\nbody { background: url(../img/bg.png) no-repeat }\n"
         "/* url(../img/commented.png) */\n.x { background: url( \"../img/x.png\" ) }\n"},
        {"css/parts/fonts.css", "@font-face { font-family: 'F'; src: url('../../fonts/f.woff2') format('woff2'); }\n"},
        {"css/print.css", ".p { background: url(p.png) }\n"},
        {"page2.html", "<html><img src='img/p2.gif'></html>"},
        {"page3.html", "<html><a href=\"page4.html\">four</a></html>"},
        {"page4.html", "<html><a href=\"page5.html\">five</a><img srcset=\"img/deep.jpg 1x\"></html>"},
        {"page5.html", "<html>too deep</html>"},
    };
    for (const char* picture :
         {"img/body.png", "img/back.gif", "img/a.jpg", "img/a-1x.jpg", "img/a,2x.jpg", "img/wide.jpg", "img/narrow.jpg",
          "img/fallback.jpg", "img/lazy.jpg", "img/lazy-2x.jpg", "img/poster.jpg", "media/clip.mp4", "img/hero.jpg",
          "img/table.gif", "img/bg.png", "img/x.png", "img/commented.png", "fonts/f.woff2", "css/p.png", "img/p2.gif",
          "img/deep.jpg", "img/unused.gif"})
        site[picture] = std::string("bytes of ") + picture;
    return site;
}

const Files Pages{"index.html", "page2.html", "page3.html", "page4.html"};
const Files StyleSheets{"css/parts/fonts.css", "css/print.css", "css/site.css"};
const Files Pictures{"css/p.png", "fonts/f.woff2", "img/a,2x.jpg", "img/a-1x.jpg", "img/a.jpg", "img/back.gif",
                     "img/bg.png", "img/body.png", "img/deep.jpg", "img/fallback.jpg", "img/hero.jpg",
                     "img/lazy-2x.jpg", "img/lazy.jpg", "img/narrow.jpg", "img/p2.gif", "img/poster.jpg",
                     "img/table.gif", "img/wide.jpg", "img/x.png", "media/clip.mp4"};

Files Sorted(Files files)
{
    std::sort(files.begin(), files.end());
    return files;
}

Files InFolder(const std::string& folder, const Files& paths)
{
    Files files;
    for (const std::string& path : paths)
        files.push_back(folder + "/" + path);
    return Sorted(files);
}

Files Joined(std::initializer_list<Files> lists)
{
    Files all;
    for (const Files& list : lists)
        all.insert(all.end(), list.begin(), list.end());
    return all;
}

// What wget stores of the site with the same depth and the pictures of its deepest pages,
// as paths below the site folder.
Files WgetFiles(const std::string& wget, const NginxServer& server, const std::string& folder)
{
    pid_t pid = SpawnProgram(wget, {"-q", "-r", "-l", "2", "-p", "-T", "10", "-t", "1", "-P", folder,
                                    server.Url("/index.html")});
    EXPECT_GT(pid, 0);
    if (pid > 0)
        WaitProgram(pid);
    Files files;
    std::string root = folder + "/" + server.Address() + ":" + std::to_string(server.Port());
    if (std::filesystem::exists(root))
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                files.push_back(std::filesystem::relative(entry.path(), root).string());
    return Sorted(files);
}

class SiteGrabLinks : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!NginxServer::Available())
            GTEST_SKIP() << "nginx is not installed";
        for (const auto& [path, content] : TodaysSite()) {
            std::filesystem::create_directories(std::filesystem::path(site / path).parent_path());
            site.Write(path, content);
        }
        nginx = std::make_unique<NginxServer>(site.Path());
        ASSERT_TRUE(nginx->Running()) << nginx->Error();
    }

    GrabFixture grab;
    TempFolder site{TempFolder::Use::Plain};
    TempFolder wgetFolder{TempFolder::Use::Plain};
    std::unique_ptr<NginxServer> nginx;
};

TEST_F(SiteGrabLinks, EveryLinkFormIsFetchedAndAtLeastWhatWgetStores)
{
    EXPECT_EQ(grab.Grab(nginx->Url("/index.html"), 2), 0);
    Files stored = Sorted(grab.StoreFiles());
    EXPECT_EQ(stored, InFolder("127.0.0.1", Joined({Pages, StyleSheets, Pictures})));
    EXPECT_EQ(grab.Stored("127.0.0.1", "css/site.css"), TodaysSite()["css/site.css"]);

    std::string wgetProgram = FindOnPath("wget");
    if (wgetProgram.empty())
        return;  // the list above stands alone
    Files wget = WgetFiles(wgetProgram, *nginx, wgetFolder.Path());
    EXPECT_GE(wget.size(), Pages.size() + StyleSheets.size());
    for (const std::string& file : wget)
        EXPECT_TRUE(std::binary_search(stored.begin(), stored.end(), "127.0.0.1/" + file)) << file << " only by wget";
}

TEST_F(SiteGrabLinks, QuickModeStoresThePagesAndTheirStyleSheetsButNoPictures)
{
    EXPECT_EQ(grab.Grab(nginx->Url("/index.html"), 2, false, true), 0);
    EXPECT_EQ(Sorted(grab.StoreFiles()), InFolder("127.0.0.1", Joined({Pages, StyleSheets})));
}

}  // namespace
