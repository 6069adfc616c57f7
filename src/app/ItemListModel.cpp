#include "app/ItemListModel.h"

#include "archive/DatArchive.h"
#include "archive/ItemFilter.h"

ItemListModel::ItemListModel(const DatArchive& archive, QObject* parent)
    : QAbstractListModel(parent), archive_(archive) {}

void ItemListModel::Refill(int mode, const std::string& text) {
    beginResetModel();
    rows_ = FilterItems(archive_.Entries(), mode, text);
    texts_.assign(rows_.size(), QString());
    itemCount_ = archive_.ItemCount();
    endResetModel();
}

void ItemListModel::Clear() {
    beginResetModel();
    rows_.clear();
    texts_.clear();
    itemCount_ = 0;
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
    if (item < 0) return {};
    QString& text = texts_[static_cast<std::size_t>(index.row())];
    // Once items were added or removed, the row's index names another item.
    if (text.isNull() && archive_.ItemCount() == itemCount_)
        text = QString::fromStdString(ItemRow(archive_.Entry(item)));
    return text.isNull() ? QVariant() : QVariant(text);
}
