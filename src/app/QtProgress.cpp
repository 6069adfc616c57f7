#include "app/QtProgress.h"

#include <QApplication>
#include <QEvent>
#include <QProgressDialog>

namespace {

// Painting and input are looked at this often; more would slow the work.
constexpr qint64 kPaintIntervalMs = 40;
constexpr int kDialogDelayMs = 300;

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

}  // namespace

QtProgress::QtProgress(QWidget* parent) : parent_(parent) {}

QtProgress::~QtProgress() {
    if (depth_ > 0) {
        qApp->removeEventFilter(this);
        --running_;
    }
    delete dialog_;
}

void QtProgress::Show() {
    if (depth_++ > 0) return;
    ++running_;
    cancelled_ = false;
    value_ = 0;
    maximum_ = 1;
    busyModal_ = QApplication::activeModalWidget();
    qApp->installEventFilter(this);
    dialog_ = new QProgressDialog("Working ...", "Cancel", 0, 1, parent_);
    dialog_->setWindowTitle("Please wait");
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    // A quick operation finishes before its dialog would only flicker; until
    // the dialog shows, the event filter keeps the window from taking commands.
    dialog_->setMinimumDuration(kDialogDelayMs);
    connect(dialog_, &QProgressDialog::canceled, this, [this] {
        cancelled_ = true;
        if (dialog_) dialog_->setLabelText("Stopping ...");
    });
    sincePaint_.start();
    KeepPainted(true);
}

void QtProgress::SetRange(int maximum) {
    maximum_ = maximum > 0 ? maximum : 1;
    value_ = 0;
    if (dialog_) {
        dialog_->setRange(0, maximum_);
        dialog_->setValue(0);
    }
}

void QtProgress::Step(int count) {
    value_ = std::min(value_ + count, maximum_);
    KeepPainted(false);
}

void QtProgress::Hide() {
    if (depth_ == 0 || --depth_ > 0) return;
    --running_;
    qApp->removeEventFilter(this);
    // Deleted now: a dialog left for later would show itself when its delay
    // ran out (during the message that follows a quick operation) and stay.
    delete dialog_;
}

bool QtProgress::Cancelled() const {
    return cancelled_ || (dialog_ && dialog_->wasCanceled());
}

// Lets the window paint and the Cancel button work, at most every few
// milliseconds so that 100,000 small steps cost little.
void QtProgress::KeepPainted(bool now) {
    if (!dialog_ || (!now && sincePaint_.elapsed() < kPaintIntervalMs)) return;
    sincePaint_.restart();
    dialog_->setValue(std::min(value_, dialog_->maximum()));
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Input for the progress dialog, or for a question the operation asks meanwhile.
bool QtProgress::MayReceiveInput(QObject* receiver, QEvent::Type event) const {
    // A shortcut goes to the action or shortcut object of a widget (the
    // dialog's Escape, the main window's commands); other input reaches a
    // window first and is looked at again when it is passed to its widget.
    const QObject* owner = receiver;
    while (owner && !owner->isWidgetType())
        owner = owner->parent();
    if (!owner) return event != QEvent::Shortcut;
    const auto* widget = static_cast<const QWidget*>(owner);
    if (!receiver->isWidgetType() && event != QEvent::Shortcut) return true;
    const QWidget* window = widget->window();
    if (dialog_ && window == dialog_) return true;
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != dialog_ && modal != busyModal_ && window == modal;
}

bool QtProgress::eventFilter(QObject* watched, QEvent* event) {
    // A question or message the operation shows before the dialog's delay
    // has run out: the dialog must not appear later on top of it, take its
    // place as the modal window and leave it unanswerable. Its delayed showing
    // is called off; it shows at a later step if the work goes on long enough.
    if (depth_ > 0 && event->type() == QEvent::Show && dialog_ && !dialog_->isVisible() &&
        watched != dialog_ && watched->isWidgetType()) {
        const auto* widget = static_cast<const QWidget*>(watched);
        if (widget->isWindow() && widget->isModal()) dialog_->reset();
    }
    if (depth_ > 0 && IsUserInput(event->type()) && !MayReceiveInput(watched, event->type())) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
