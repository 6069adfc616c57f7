// The main window's Edit menu: undoing and redoing the last rewrite, and
// reading a file again after it was swapped with its backup or changed by
// another program.
#include <QAction>
#include <QMenuBar>

#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "app/CShpTool.h"
#include "app/ChangeTracker.h"

void CMainFrame::CreateEditMenu() {
    QMenu* edit = menuBar()->addMenu("&Edit");
    undo_ = edit->addAction("Undo", this, [this] { UndoOrRedo(true); });
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = edit->addAction("Redo", this, [this] { UndoOrRedo(false); });
    redo_->setShortcut(QKeySequence::Redo);
    ChangeTracker& changes = doc_.Changes();
    connect(&changes, &ChangeTracker::HistoryChanged, this, &CMainFrame::RefreshEditMenu);
    connect(&changes, &ChangeTracker::ReloadWanted, this, &CMainFrame::Reload);
    RefreshEditMenu();
}

void CMainFrame::RefreshEditMenu() {
    const ChangeTracker& changes = doc_.Changes();
    undo_->setText(changes.UndoText());
    undo_->setEnabled(changes.CanUndo());
    redo_->setText(changes.RedoText());
    redo_->setEnabled(changes.CanRedo());
}

void CMainFrame::UndoOrRedo(bool undo) {
    ChangeTracker& changes = doc_.Changes();
    const std::string path = changes.ChangedPath();
    // The archive is read again from the file put in place; nothing may hold the old one.
    const bool closed = doc_.Archive().IsOpen() && doc_.Archive().ArchivePath() == path;
    if (closed) doc_.Archive().CloseArchive();
    if (undo) {
        changes.Undo();
    } else {
        changes.Redo();
    }
    if (closed && !doc_.Archive().IsOpen()) doc_.OpenDocument(path);
}

void CMainFrame::Reload(int slot, const QString& path) {
    if (slot == ChangeTracker::kArchive) {
        doc_.OpenDocument(path.toStdString());
        return;
    }
    if (auto* tool = static_cast<CShpTool*>(View(kS16Tool))) tool->ReloadFile();
}
