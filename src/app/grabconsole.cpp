#include "app/grabconsole.h"

#include <cstdint>

#include <QTimer>

#include <sys/ioctl.h>
#include <unistd.h>

#include "grab/grabstate.h"

namespace {

const int kRedrawMs = 200;
const int kDefaultWidth = 80;

// Columns a code point takes on a terminal: two for the wide East Asian letters.
int ColumnsOf(std::uint32_t code)
{
    bool wide = (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF)
                || (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF)
                || (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60)
                || (code >= 0xFFE0 && code <= 0xFFE6);
    return wide ? 2 : 1;
}

// text cut to at most width columns, never inside a UTF-8 sequence.
std::string CutToColumns(const std::string& text, int width)
{
    int used = 0;
    size_t at = 0;
    while (at < text.size()) {
        auto lead = static_cast<unsigned char>(text[at]);
        size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t code = lead < 0x80 ? lead : lead < 0xE0 ? lead & 0x1F : lead < 0xF0 ? lead & 0x0F : lead & 0x07;
        for (size_t i = 1; i < length && at + i < text.size(); ++i)
            code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
        int columns = ColumnsOf(code);
        if (used + columns > width)
            break;
        used += columns;
        at += length;
    }
    return text.substr(0, std::min(at, text.size()));
}

}  // namespace

TGrabConsole::TGrabConsole(Mode mode, std::FILE* out) : mode(mode), out(out)
{
}

TGrabConsole::~TGrabConsole() = default;

TGrabConsole::Mode TGrabConsole::ModeFor(std::FILE* out, bool verbose)
{
    if (verbose)
        return Mode::Verbose;
    return ::isatty(::fileno(out)) ? Mode::Progress : Mode::Quiet;
}

void TGrabConsole::Line(const std::string& text)
{
    ClearProgress();
    std::fprintf(out, "%s\n", text.c_str());
    std::fflush(out);
    if (timer)
        Draw();
}

void TGrabConsole::Message(const std::string& text)
{
    Line(text);
}

void TGrabConsole::Error(const std::string& text)
{
    Line("error: " + text);
}

void TGrabConsole::Warning(const std::string& text)
{
    Line("warning: " + text);
}

void TGrabConsole::WarningDialog(const std::string& caption, const std::string& text)
{
    Line("warning: " + caption + " " + text);
}

void TGrabConsole::Status(const std::string& text)
{
    // The progress line shows where the grab stands; status lines are kept for --verbose.
    if (mode == Mode::Verbose)
        Line(text);
}

void TGrabConsole::Start()
{
    started = std::chrono::steady_clock::now();
    if (mode != Mode::Progress)
        return;
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [this] { Draw(); });
    timer->start(kRedrawMs);
    Draw();
}

void TGrabConsole::Finish()
{
    if (!timer)
        return;
    timer.reset();
    Draw();
    std::fputc('\n', out);
    std::fflush(out);
    drawn = false;
}

void TGrabConsole::Draw()
{
    auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started);
    std::string text = ProgressText(GrabState().PagesStored, GrabState().BytesStored, elapsed,
                                    GrabState().CurrentPage(), Width());
    std::fprintf(out, "\r\033[K%s", text.c_str());
    std::fflush(out);
    drawn = true;
}

void TGrabConsole::ClearProgress()
{
    if (!drawn)
        return;
    std::fputs("\r\033[K", out);
    drawn = false;
}

int TGrabConsole::Width() const
{
    winsize size{};
    if (::ioctl(::fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 1)
        return size.ws_col - 1;  // the last column would wrap the line on some terminals
    return kDefaultWidth - 1;
}

std::string TGrabConsole::ProgressText(long long pages, long long bytes, std::chrono::seconds elapsed,
                                       const std::string& page, int width)
{
    long long seconds = elapsed.count();
    char figures[128];
    std::snprintf(figures, sizeof figures, "已存 %lld 頁, %lld 位元組, %02lld:%02lld ", pages, bytes, seconds / 60,
                  seconds % 60);
    return CutToColumns(figures + page, width);
}
