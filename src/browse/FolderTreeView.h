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
    // Selects, expands and shows `folder`.
    void SelectFolder(const QString& folder);

signals:
    void FolderDropped();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString DraggedFolder(const QDropEvent* event) const;
    QString TargetFolder(const QDropEvent* event) const;

    QFileSystemModel* model_;
};
