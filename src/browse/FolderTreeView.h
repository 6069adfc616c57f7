#pragma once
// The folder tree of the folder browser: folders only, listed lazily, with
// folders moved (or copied with Ctrl) by dragging them onto another folder.

#include <QTreeView>

class QFileSystemModel;

class FolderTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTreeView(QWidget* parent = nullptr);

    QFileSystemModel* Model() const { return model_; }
    // The folder of the current item, ending in a separator; empty for none.
    QString CurrentFolder() const;
    // Selects, expands and shows `folder`, also once the folders above it are listed.
    void SelectFolder(const QString& folder);

signals:
    void FolderDropped();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString DraggedFolder(const QDropEvent* event) const;
    QString TargetFolder(const QDropEvent* event) const;

    // Folders are listed in the background: the selected one is scrolled to
    // again as its parents fill in, until the user moves the view.
    void KeepSelectedInView();

    QFileSystemModel* model_;
    bool followSelected_ = false;
    bool scrollPending_ = false;
};
