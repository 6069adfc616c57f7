#pragma once
// The rows of the DAT Tool's item list: the archive's items that pass the
// filter, each row's text made when a view first shows it, so that a list of
// any length costs no more than filtering the directory. A row keeps the text
// it was shown with until the next refill: a rewrite changes the directory
// while its message is up, before the list is refilled.

#include <QAbstractListModel>
#include <QString>
#include <string>
#include <vector>

class DatArchive;

class ItemListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ItemListModel(const DatArchive& archive, QObject* parent = nullptr);

    // Lists the items that pass the filter mode and text (the archive's
    // current directory); Clear lists none.
    void Refill(int mode, const std::string& text);
    void Clear();

    int Count() const { return static_cast<int>(rows_.size()); }
    // The item index shown in `row`, or -1 outside the list.
    int ItemAt(int row) const;
    // The item indexes of all rows, in list order.
    const std::vector<int>& Items() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const DatArchive& archive_;
    std::vector<int> rows_;
    mutable std::vector<QString> texts_;  // per row, made when first shown
    int itemCount_ = 0;                   // the directory's length when filled
};
