#include "cli/ConsoleProgress.h"

#ifdef _WIN32
#include <io.h>
#define VARNOK_ISATTY _isatty
#define VARNOK_FILENO _fileno
#else
#include <unistd.h>
#define VARNOK_ISATTY isatty
#define VARNOK_FILENO fileno
#endif

ConsoleProgress::ConsoleProgress(std::FILE* stream)
    : stream_(stream), enabled_(stream && VARNOK_ISATTY(VARNOK_FILENO(stream))) {}

void ConsoleProgress::Show() {
    visible_ = enabled_;
    shownPercent_ = -1;
}

void ConsoleProgress::SetRange(int maximum) {
    maximum_ = maximum;
    position_ = 0;
    Redraw(true);
}

void ConsoleProgress::Step(int count) {
    position_ += count;
    Redraw(false);
}

void ConsoleProgress::Hide() {
    if (visible_) std::fputs("\r\033[K", stream_);
    visible_ = false;
}

void ConsoleProgress::Redraw(bool force) {
    if (!visible_) return;
    const int percent = maximum_ > 0 ? static_cast<int>(100LL * position_ / maximum_) : 0;
    if (!force && percent == shownPercent_) return;
    shownPercent_ = percent;
    constexpr int kBarWidth = 40;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stream_, "\r[%-*.*s] %3d%%", kBarWidth, filled,
                 "########################################", percent);
    std::fflush(stream_);
}
