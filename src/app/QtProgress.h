#pragma once
// A Progress over a QProgressBar that keeps the window painted while a long
// operation runs (user input is held back meanwhile).

#include "support/Progress.h"

class QProgressBar;

class QtProgress final : public Progress {
public:
    explicit QtProgress(QProgressBar* bar) : bar_(bar) {}

    void Show() override;
    void SetRange(int maximum) override;
    void Step(int count) override;
    void Hide() override;

private:
    void Repaint();

    QProgressBar* bar_;
    int shownPercent_ = -1;
};
