#pragma once
// The DAT Tool's item list with drag and drop: items dragged out are handed
// over as files (the view extracts them), and .s16 files dropped onto it are
// given to the view to add or replace.

#include <QListView>
#include <QStringList>
#include <functional>
#include <vector>

class QMimeData;

class ItemListView : public QListView {
    Q_OBJECT
public:
    // `dragOut` makes the files of the rows dragged (null: nothing to drag);
    // `dropIn` takes the .s16 files dropped.
    ItemListView(std::function<QMimeData*(const std::vector<int>& rows)> dragOut,
                 std::function<void(const QStringList& paths)> dropIn, QWidget* parent = nullptr);

    // The .s16 files among the URLs of `data`.
    static QStringList S16Files(const QMimeData* data);

protected:
    void startDrag(Qt::DropActions actions) override;
    // The rows' texts are not drag items of the model: a drag is started here.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::function<QMimeData*(const std::vector<int>& rows)> dragOut_;
    std::function<void(const QStringList& paths)> dropIn_;
    QPoint pressed_{-1, -1};
};
