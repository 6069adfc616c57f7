#pragma once
// A progress bar drawn on the error stream when that is a terminal.

#include <cstdio>

#include "support/Progress.h"

class ConsoleProgress final : public Progress {
public:
    explicit ConsoleProgress(std::FILE* stream);

    void Show() override;
    void SetRange(int maximum) override;
    void Step(int count) override;
    void Hide() override;

private:
    void Redraw(bool force);

    std::FILE* stream_;
    bool enabled_;
    bool visible_ = false;
    int maximum_ = 0;
    int position_ = 0;
    int shownPercent_ = -1;
};
