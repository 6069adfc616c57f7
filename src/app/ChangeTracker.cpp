#include "app/ChangeTracker.h"

#include <QFileSystemWatcher>
#include <filesystem>
#include <system_error>

#include "app/QtProgress.h"
#include "support/BackupSwap.h"
#include "support/Messages.h"

namespace fs = std::filesystem;

namespace {

// Another program writes a file in several steps; it is looked at once they stop.
constexpr int kSettleMs = 250;

}  // namespace

FileStamp FileStamp::Of(const std::string& path) {
    FileStamp stamp;
    std::error_code error;
    stamp.identity = FileIdentity::OfPath(path);
    stamp.size = fs::file_size(path, error);
    if (error) stamp.size = 0;
    const auto time = fs::last_write_time(path, error);
    if (!error) {
        stamp.modified =
            std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    }
    return stamp;
}

ChangeTracker::ChangeTracker(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &ChangeTracker::OnFileChanged);
    connect(&settle_, &QTimer::timeout, this, &ChangeTracker::CheckForChanges);
}

void ChangeTracker::Watch(Slot slot, const std::string& path) {
    Watched& watched = watched_[static_cast<std::size_t>(slot)];
    watched.path = path;
    watched.seen = FileStamp::Of(path);
    watched.ignored = {};
    WatchPaths();
}

// A file replaced by a rename is a new file to the system's watcher: every
// watched path is given to it again.
void ChangeTracker::WatchPaths() {
    QStringList wanted;
    for (const Watched& watched : watched_) {
        if (!watched.path.empty() && watched.seen.identity.known)
            wanted << QString::fromStdString(watched.path);
    }
    const QStringList current = watcher_->files();
    for (const QString& path : current) {
        if (!wanted.contains(path)) watcher_->removePath(path);
    }
    for (const QString& path : wanted) {
        if (!current.contains(path)) watcher_->addPath(path);
    }
}

int ChangeTracker::SlotOf(const std::string& path) const {
    for (std::size_t i = 0; i < watched_.size(); ++i) {
        if (!path.empty() && watched_[i].path == path) return static_cast<int>(i);
    }
    return -1;
}

void ChangeTracker::Restamp(const std::string& path) {
    for (Watched& watched : watched_) {
        if (watched.path == path) {
            watched.seen = FileStamp::Of(path);
            watched.ignored = {};
        }
    }
    WatchPaths();
}

void ChangeTracker::OnFileChanged(const QString&) {
    settle_.start();
}

void ChangeTracker::CheckForChanges() {
    WatchPaths();
    if (asking_) return;
    // Long work holds the file open and may be asking its own questions: a
    // change is looked at once the work has ended.
    if (QtProgress::AnyRunning() || ownWrites_ > 0) {
        settle_.start();
        return;
    }
    for (std::size_t slot = 0; slot < watched_.size(); ++slot) {
        Watched& watched = watched_[slot];
        if (watched.path.empty() || watched.path == rewriting_) continue;
        const FileStamp now = FileStamp::Of(watched.path);
        // A file that is gone for a moment is being replaced; its new one is looked at then.
        if (!now.identity.known || now == watched.seen || now == watched.ignored) continue;
        asking_ = true;
        const bool reload = AskYesNo("[%s] was changed by another program.\nRead it again now?",
                                     watched.path.c_str());
        asking_ = false;
        if (reload) {
            emit ReloadWanted(static_cast<int>(slot), QString::fromStdString(watched.path));
        } else {
            watched.ignored = now;
        }
    }
}

bool ChangeTracker::MayRewrite(const std::string& path) {
    const int slot = SlotOf(path);
    if (slot < 0) return true;
    const Watched& watched = watched_[static_cast<std::size_t>(slot)];
    if (FileStamp::Of(path) == watched.seen) return true;
    if (AskYesNo("[%s] was changed by another program since it was read: nothing was "
                 "written.\nRead it again now?",
                 path.c_str())) {
        emit ReloadWanted(slot, QString::fromStdString(path));
    }
    return false;
}

ChangeTracker::Rewrite::Rewrite(ChangeTracker& tracker, std::string path)
    : tracker_(tracker), path_(std::move(path)), allowed_(tracker_.MayRewrite(path_)) {
    if (allowed_) tracker_.rewriting_ = path_;
}

ChangeTracker::Rewrite::~Rewrite() {
    if (!allowed_) return;
    // Whatever the rewrite did, the file is as the window left it.
    tracker_.Restamp(path_);
    tracker_.rewriting_.clear();
}

ChangeTracker::OwnWrites::OwnWrites(ChangeTracker& tracker) : tracker_(tracker) {
    ++tracker_.ownWrites_;
}

ChangeTracker::OwnWrites::~OwnWrites() {
    if (--tracker_.ownWrites_ > 0) return;
    const std::string& sprite = tracker_.watched_[kSprite].path;
    if (!sprite.empty()) tracker_.Restamp(sprite);
}

void ChangeTracker::Rewrite::Done(const std::string& backupPath, const QString& what) {
    Change& change = tracker_.change_;
    change.path = path_;
    change.backupPath = backupPath;
    change.what = what;
    change.file = FileStamp::Of(path_);
    change.backup = FileStamp::Of(backupPath);
    tracker_.state_ = change.backup.identity.known ? State::kDone : State::kNone;
    emit tracker_.HistoryChanged();
}

QString ChangeTracker::UndoText() const {
    return CanUndo() ? "Undo " + change_.what : QString("Undo");
}

QString ChangeTracker::RedoText() const {
    return CanRedo() ? "Redo " + change_.what : QString("Redo");
}

bool ChangeTracker::Undo() {
    return CanUndo() && Swap(State::kUndone);
}

bool ChangeTracker::Redo() {
    return CanRedo() && Swap(State::kDone);
}

bool ChangeTracker::Swap(State to) {
    const std::string path = change_.path;
    if (!(FileStamp::Of(path) == change_.file) ||
        !(FileStamp::Of(change_.backupPath) == change_.backup)) {
        ShowError("[%s] or its backup was changed since: the change cannot be undone or redone",
                  path.c_str());
        state_ = State::kNone;
        emit HistoryChanged();
        return false;
    }
    rewriting_ = path;
    const bool swapped = SwapWithBackup(path, change_.backupPath);
    rewriting_.clear();
    if (swapped) {
        change_.file = FileStamp::Of(path);
        change_.backup = FileStamp::Of(change_.backupPath);
        state_ = to;
    }
    Restamp(path);
    emit HistoryChanged();
    const int slot = SlotOf(path);
    if (slot >= 0) emit ReloadWanted(slot, QString::fromStdString(path));
    return swapped;
}
