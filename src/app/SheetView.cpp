#include "app/SheetView.h"

#include "app/SheetModel.h"

namespace {

constexpr int kCellWidth = SheetModel::kThumbnailSize + 28;
constexpr int kCellHeight = SheetModel::kThumbnailSize + 24;

}  // namespace

SheetView::SheetView(QWidget* parent) : QListView(parent), model_(new SheetModel(this)) {
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setFlow(QListView::LeftToRight);
    // Cells of one size, laid out in batches: 100,000 cells cost no measuring.
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);
    setGridSize(QSize(kCellWidth, kCellHeight));
    setIconSize(QSize(SheetModel::kThumbnailSize, SheetModel::kThumbnailSize));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    setWordWrap(false);
    setModel(model_);
    // A click or the keys move the current cell; the item follows, but not
    // when the view itself follows the item list.
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (!following_ && index.isValid())
                    emit Chosen(model_->ItemAt(index.row()), model_->IconAt(index.row()));
            });
    connect(this, &QListView::activated, this, [this](const QModelIndex& index) {
        emit Chosen(model_->ItemAt(index.row()), model_->IconAt(index.row()));
    });
}

void SheetView::SelectItem(int item) {
    if (model_->ShowsIcons()) return;
    for (int row = 0; row < model_->rowCount(); ++row) {
        if (model_->ItemAt(row) == item) {
            following_ = true;
            setCurrentIndex(model_->index(row));
            following_ = false;
            scrollTo(model_->index(row));
            return;
        }
    }
}
