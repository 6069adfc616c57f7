#pragma once
// The seam through which long operations drive a progress bar.

class Progress {
public:
    virtual ~Progress() = default;
    virtual void Show() = 0;
    // Range 0..maximum, position 0.
    virtual void SetRange(int maximum) = 0;
    virtual void Step(int count = 1) = 0;
    virtual void Hide() = 0;
    // True once the person at the screen asked to stop: a long loop then stops
    // at its next step, leaves nothing half-done and says what it did.
    virtual bool Cancelled() const { return false; }
};

// A progress that shows nothing, for callers without a bar.
class NullProgress final : public Progress {
public:
    void Show() override {}
    void SetRange(int) override {}
    void Step(int) override {}
    void Hide() override {}
};

NullProgress& NoProgress();

// Shows `progress` with a range for the lifetime of the object and hides it on
// every way out.
class ProgressScope {
public:
    ProgressScope(Progress& progress, int maximum) : progress_(progress) {
        progress_.Show();
        progress_.SetRange(maximum);
    }
    ~ProgressScope() { progress_.Hide(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    void Step(int count = 1) { progress_.Step(count); }
    bool Cancelled() const { return progress_.Cancelled(); }

private:
    Progress& progress_;
};
