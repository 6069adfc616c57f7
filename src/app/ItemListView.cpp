#include "app/ItemListView.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

ItemListView::ItemListView(std::function<QMimeData*(const std::vector<int>& rows)> dragOut,
                           std::function<void(const QStringList& paths)> dropIn, QWidget* parent)
    : QListView(parent), dragOut_(std::move(dragOut)), dropIn_(std::move(dropIn)) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

QStringList ItemListView::S16Files(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(".s16", Qt::CaseInsensitive))
            files << url.toLocalFile();
    }
    return files;
}

// The items are written out only when a drag really starts, not on every press.
void ItemListView::startDrag(Qt::DropActions) {
    std::vector<int> rows;
    for (const QModelIndex& index : selectedIndexes())
        rows.push_back(index.row());
    if (rows.empty() && currentIndex().isValid()) rows.push_back(currentIndex().row());
    if (rows.empty()) return;
    QMimeData* files = dragOut_(rows);
    if (!files) return;
    auto* drag = new QDrag(this);
    drag->setMimeData(files);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void ItemListView::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton ? event->position().toPoint() : QPoint(-1, -1);
    QListView::mousePressEvent(event);
}

void ItemListView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && indexAt(pressed_).isValid() &&
        (at - pressed_).manhattanLength() >= QApplication::startDragDistance()) {
        pressed_ = QPoint(-1, -1);
        startDrag(Qt::CopyAction);
        return;
    }
    QListView::mouseMoveEvent(event);
}

void ItemListView::dragEnterEvent(QDragEnterEvent* event) {
    // Its own items dropped back, and anything but S16 files, are the window's to handle.
    if (event->source() != this && !S16Files(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ItemListView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() != this && !S16Files(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ItemListView::dropEvent(QDropEvent* event) {
    const QStringList files = S16Files(event->mimeData());
    if (event->source() == this || files.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The questions and the rewrite come after the drop has returned, so that
    // the program the files were dragged from is not held until they end.
    QTimer::singleShot(0, this, [this, files] { dropIn_(files); });
}
