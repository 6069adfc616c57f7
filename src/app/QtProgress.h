#pragma once
// A Progress shown as a modal dialog with a Cancel button. While a long
// operation runs the window keeps painting, but takes no commands: input to
// any other window is dropped (not held back to run afterwards), and Cancel
// asks the operation to stop at its next step.

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>

#include "support/Progress.h"

class QtProgress final : public QObject, public Progress {
    Q_OBJECT
public:
    explicit QtProgress(QWidget* parent);
    ~QtProgress() override;

    void Show() override;
    void SetRange(int maximum) override;
    void Step(int count) override;
    void Hide() override;
    bool Cancelled() const override;

    // The dialog while an operation runs (it appears after a short delay), else null.
    QProgressDialog* Dialog() const { return dialog_; }
    bool Running() const { return depth_ > 0; }
    // Whether any operation of the window is running now.
    static bool AnyRunning() { return running_ > 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void KeepPainted(bool now);
    bool MayReceiveInput(QObject* receiver, QEvent::Type event) const;

    QWidget* parent_;
    QPointer<QProgressDialog> dialog_;
    // The modal window that was active when the operation started: it is as
    // busy as the main window.
    QPointer<QWidget> busyModal_;
    QElapsedTimer sincePaint_;
    static inline int running_ = 0;
    int depth_ = 0;
    int value_ = 0;
    int maximum_ = 1;
    bool cancelled_ = false;
};
