#include "browse/FolderTreeView.h"

#include <QDragMoveEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMimeData>
#include <QTimer>

#include "browse/FolderOperations.h"
#include "support/Paths.h"

FolderTreeView::FolderTreeView(QWidget* parent)
    : QTreeView(parent), model_(new QFileSystemModel(this)) {
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setReadOnly(false);  // labels can be edited: that renames the folder
    model_->setRootPath(QString());
    setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    connect(model_, &QFileSystemModel::rowsInserted, this, &FolderTreeView::KeepSelectedInView);
    connect(model_, &QFileSystemModel::layoutChanged, this, &FolderTreeView::KeepSelectedInView);
}

QString FolderTreeView::CurrentFolder() const {
    const QModelIndex index = currentIndex();
    if (!index.isValid()) return {};
    return QString::fromStdString(AsFolder(model_->filePath(index).toStdString()));
}

void FolderTreeView::SelectFolder(const QString& folder) {
    QString path = folder;
    while (path.size() > 1 && (path.endsWith('/') || path.endsWith('\\')))
        path.chop(1);
    const QModelIndex index = model_->index(path);
    if (!index.isValid()) return;
    setCurrentIndex(index);
    expand(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    followSelected_ = true;
}

void FolderTreeView::KeepSelectedInView() {
    if (!followSelected_ || scrollPending_) return;
    // Rows arrive in many small batches: one scroll once they are in.
    scrollPending_ = true;
    QTimer::singleShot(0, this, [this] {
        scrollPending_ = false;
        if (followSelected_ && currentIndex().isValid())
            scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    });
}

void FolderTreeView::showEvent(QShowEvent* event) {
    QTreeView::showEvent(event);
    KeepSelectedInView();
}

void FolderTreeView::mousePressEvent(QMouseEvent* event) {
    followSelected_ = false;
    QTreeView::mousePressEvent(event);
}

void FolderTreeView::wheelEvent(QWheelEvent* event) {
    followSelected_ = false;
    QTreeView::wheelEvent(event);
}

QString FolderTreeView::DraggedFolder(const QDropEvent* event) const {
    const QList<QUrl> urls = event->mimeData()->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

QString FolderTreeView::TargetFolder(const QDropEvent* event) const {
    const QModelIndex index = indexAt(event->position().toPoint());
    return index.isValid() ? model_->filePath(index) : QString();
}

void FolderTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this) event->acceptProposedAction();
}

void FolderTreeView::dragMoveEvent(QDragMoveEvent* event) {
    QTreeView::dragMoveEvent(event);
    const QString source = DraggedFolder(event);
    const QString target = TargetFolder(event);
    if (event->source() != this || source.isEmpty() || target.isEmpty() ||
        !CanDropFolder(source.toStdString(), target.toStdString())) {
        event->ignore();
        return;
    }
    event->setDropAction(event->modifiers() & Qt::ControlModifier ? Qt::CopyAction
                                                                  : Qt::MoveAction);
    event->accept();
}

void FolderTreeView::dropEvent(QDropEvent* event) {
    const QString source = DraggedFolder(event);
    const QString target = TargetFolder(event);
    const bool copy = event->modifiers() & Qt::ControlModifier;
    event->ignore();  // the model must not move anything itself
    if (event->source() == this && DropFolder(source.toStdString(), target.toStdString(), copy))
        emit FolderDropped();
}
