#pragma once
// What the window knows of the files it shows and changes: the open archive
// and the S16 file of the S16 Tool are watched, so that a change by another
// program is noticed and never written over, and the last rewrite can be
// undone (its backup put back) and redone.

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <string>

#include "support/FileIdentity.h"

class QFileSystemWatcher;

// A file as it was seen: which file, its size and its time of change.
struct FileStamp {
    FileIdentity identity;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds

    static FileStamp Of(const std::string& path);
    bool operator==(const FileStamp& other) const {
        return identity == other.identity && size == other.size && modified == other.modified;
    }
};

class ChangeTracker : public QObject {
    Q_OBJECT
public:
    // The files watched: the open archive and the S16 Tool's file.
    enum Slot { kArchive = 0, kSprite = 1 };

    explicit ChangeTracker(QObject* parent = nullptr);

    // The file in `slot` is now `path`, as it stands (read just now).
    void Watch(Slot slot, const std::string& path);
    // A rewrite of one file by the window, from its check to its end. While
    // it lasts, changes of the file are the window's own.
    class Rewrite {
    public:
        Rewrite(ChangeTracker& tracker, std::string path);
        ~Rewrite();
        Rewrite(const Rewrite&) = delete;
        Rewrite& operator=(const Rewrite&) = delete;
        // False when another program changed the file since the window read
        // it (the user was told and offered to read it again): a rewrite
        // would lose that change.
        explicit operator bool() const { return allowed_; }
        // The file was rewritten, its old content kept at `backupPath`;
        // `what` names the change in the Edit menu ("Remove 2 items").
        void Done(const std::string& backupPath, const QString& what);

    private:
        ChangeTracker& tracker_;
        std::string path_;
        bool allowed_;
    };

    // Files the window writes other than by a Rewrite (an S16 file made,
    // imported or extracted): while it lasts changes are looked at later, and
    // at its end the S16 Tool's file is taken as the window left it.
    class OwnWrites {
    public:
        explicit OwnWrites(ChangeTracker& tracker);
        ~OwnWrites();
        OwnWrites(const OwnWrites&) = delete;
        OwnWrites& operator=(const OwnWrites&) = delete;

    private:
        ChangeTracker& tracker_;
    };

    bool CanUndo() const { return state_ == State::kDone; }
    bool CanRedo() const { return state_ == State::kUndone; }
    // "Undo Remove 2 items", "Redo Remove 2 items"; "Undo" / "Redo" when there is nothing.
    QString UndoText() const;
    QString RedoText() const;
    // Swaps the file and its backup; false, after a message, when that cannot
    // be done or the files are no longer as the window left them.
    bool Undo();
    bool Redo();
    // The file the last change was made to.
    const std::string& ChangedPath() const { return change_.path; }
    // Asks about each watched file another program changed (the file watcher's
    // events end here once they stop arriving).
    void CheckForChanges();

signals:
    // The file in `slot` should be read again (the user agreed, or it was
    // swapped with its backup).
    void ReloadWanted(int slot, const QString& path);
    // The undo and redo texts or states changed.
    void HistoryChanged();

private:
    enum class State { kNone, kDone, kUndone };

    bool MayRewrite(const std::string& path);
    bool Swap(State to);
    void OnFileChanged(const QString& path);
    void Restamp(const std::string& path);
    void WatchPaths();
    int SlotOf(const std::string& path) const;

    struct Watched {
        std::string path;
        FileStamp seen;     // as the window read or wrote it
        FileStamp ignored;  // a change the user chose not to read yet
    };
    struct Change {
        std::string path;
        std::string backupPath;
        QString what;
        FileStamp file;  // both as the last rewrite, undo or redo left them
        FileStamp backup;
    };

    QFileSystemWatcher* watcher_;
    QTimer settle_;  // a change arrives as several events; it is looked at once they stop
    std::array<Watched, 2> watched_;
    Change change_;
    State state_ = State::kNone;
    std::string rewriting_;
    bool asking_ = false;
    int ownWrites_ = 0;
};
