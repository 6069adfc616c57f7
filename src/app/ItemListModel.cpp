#include "app/ItemListModel.h"

#include "archive/DatArchive.h"
#include "archive/ItemFilter.h"

ItemListModel::ItemListModel(const DatArchive& archive, QObject* parent)
    : QAbstractListModel(parent), archive_(archive) {}

void ItemListModel::Refill(int mode, const std::string& text) {
    beginResetModel();
    rows_ = FilterItems(archive_.Entries(), mode, text);
    endResetModel();
}

void ItemListModel::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int ItemListModel::ItemAt(int row) const {
    return row >= 0 && row < Count() ? rows_[static_cast<std::size_t>(row)] : -1;
}

int ItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole) return {};
    const int item = ItemAt(index.row());
    // A rewrite changes the directory before the list is refilled; a repaint
    // in between (a progress bar lets events through) must not read past it.
    if (item < 0 || item >= archive_.ItemCount()) return {};
    return QString::fromStdString(ItemRow(archive_.Entry(item)));
}
