// Drag and drop on the DAT Tool's item list: items dragged out become files
// in a folder of their own, .s16 files dropped in are added or replace the
// items of their names.
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <optional>

#include "app/BatchMessages.h"
#include "app/CAppDoc.h"
#include "app/CShpView.h"
#include "app/ChangeTracker.h"
#include "app/ItemListModel.h"
#include "app/QtProgress.h"
#include "archive/ArchiveCommands.h"
#include "archive/ItemNames.h"
#include "support/Messages.h"
#include "support/Paths.h"

QMimeData* CShpView::DragOutItems(const std::vector<int>& rows) {
    if (!HasItems()) return nullptr;
    // The folder lives until the next drag: the file manager copies from it after the drop.
    dragFolder_ = std::make_unique<QTemporaryDir>();
    if (!dragFolder_->isValid()) {
        ShowError("Error on creating [%s]", dragFolder_->path().toStdString().c_str());
        return nullptr;
    }
    const std::string folder = AsFolder(dragFolder_->path().toStdString());
    QList<QUrl> urls;
    for (int row : rows) {
        const int item = items_->ItemAt(row);
        if (item < 0) continue;
        const std::string path = ItemPathInFolder(doc_.Archive().Entry(item), folder);
        if (!path.empty() && doc_.Archive().ExtractItem(item, path))
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    if (urls.isEmpty()) return nullptr;
    auto* files = new QMimeData;
    files->setUrls(urls);
    return files;
}

void CShpView::DropFiles(const QStringList& paths) {
    if (!HasItems()) return;
    DatArchive& archive = doc_.Archive();
    std::vector<std::string> added;
    std::vector<std::pair<int, std::string>> replaced;
    // A folder of items dropped back is asked about once, with answers for all.
    std::optional<BatchMessages> batch;
    if (paths.size() > 1) batch.emplace("Drop", this);
    for (const QString& given : paths) {
        const std::string path = given.toStdString();
        const std::string name = SplitPath(path, kPathFileName);
        const int item = archive.FindItem(name);
        if (item < 0) {
            added.push_back(path);
        } else if (AskYesNo("%s is already in the archive.\nReplace it with the dropped file?\n"
                            "(No leaves the item as it is)",
                            PrintableName(name).c_str())) {
            replaced.emplace_back(item, path);
        }
    }
    if (batch) batch->Finish("", SplitPath(archive.ArchivePath(), kPathFolder));
    const int row = SelectedRow();
    if (!replaced.empty()) {
        ChangeTracker::Rewrite rewrite(doc_.Changes(), archive.ArchivePath());
        if (!rewrite) return;
        if (ReplaceWithSameNamedFiles(archive, replaced, *progress_)) {
            rewrite.Done(
                archive.BackupPath(),
                replaced.size() == 1
                    ? QString::fromStdString("Replace " + archive.Entry(replaced[0].first).Name())
                    : QString("Replace %1 items").arg(replaced.size()));
        }
    }
    if (!added.empty()) {
        ChangeTracker::Rewrite rewrite(doc_.Changes(), archive.ArchivePath());
        if (!rewrite) return;
        if (AddFiles(archive, added, *progress_)) {
            rewrite.Done(archive.BackupPath(),
                         added.size() == 1
                             ? QString::fromStdString("Add " + SplitPath(added[0], kPathFileName))
                             : QString("Add %1 items").arg(added.size()));
        }
    }
    FillList(row);
}
