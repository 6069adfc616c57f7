// Pictures dropped onto the S16 Tool become new icons at the end of the
// selected S16 file.
#include <QDragEnterEvent>
#include <QListWidget>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/CAppDoc.h"
#include "app/CShpTool.h"
#include "app/ChangeTracker.h"
#include "app/IconPanel.h"
#include "sprite/S16Editor.h"

namespace {

QStringList Pictures(const QMimeData* data) {
    QStringList pictures;
    if (!data || !data->hasUrls()) return pictures;
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (url.isLocalFile() && (path.endsWith(".bmp", Qt::CaseInsensitive) ||
                                  path.endsWith(".png", Qt::CaseInsensitive)))
            pictures << path;
    }
    return pictures;
}

}  // namespace

void CShpTool::dragEnterEvent(QDragEnterEvent* event) {
    // Anything else (an archive) is the main window's to open.
    if (files_->currentItem() && !Pictures(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CShpTool::dropEvent(QDropEvent* event) {
    const QStringList pictures = Pictures(event->mimeData());
    if (pictures.isEmpty() || !files_->currentItem()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Appended once the drop has returned: the program the pictures came
    // from is not held meanwhile.
    QTimer::singleShot(0, this, [this, pictures] { AppendPictures(pictures); });
}

void CShpTool::AppendPictures(const QStringList& paths) {
    if (!files_->currentItem()) return;
    for (const QString& picture : paths) {
        ChangeTracker::Rewrite rewrite(doc_.Changes(), currentPath_);
        if (!rewrite) break;
        const bool appended = InsertIconFromBmp(image_, picture.toStdString(), 0);
        image_.OpenFile(currentPath_);
        if (!appended) break;
        rewrite.Done(S16BackupPath(currentPath_), "Append icon");
    }
    FillIconList(image_.IconCount());
}
