#pragma once
// The cells of the sprite sheet view: every listed item's first icon, or
// every icon of one item, as thumbnails. A thumbnail is decoded on a worker
// thread the first time a view asks for it and kept in a cache; until then
// the cell shows an empty frame. The most recently asked cells are decoded
// first, so that scrolling through 100,000 items shows where the user is.

#include <QAbstractListModel>
#include <QCache>
#include <QImage>
#include <QThreadPool>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "archive/DatEntry.h"

class SheetModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kThumbnailSize = 64;

    explicit SheetModel(QObject* parent = nullptr);
    ~SheetModel() override;

    // The first icon of each of `items` (indexes into `directory`) of the archive at `path`.
    void ShowItems(const std::string& path, const std::vector<DatEntry>& directory,
                   const std::vector<int>& items);
    // Every icon of item `item`.
    void ShowIcons(const std::string& path, const std::vector<DatEntry>& directory, int item);
    void Clear();

    // The item index (and icon number, 1-based) a cell shows; -1 outside.
    int ItemAt(int row) const;
    int IconAt(int row) const;
    bool ShowsIcons() const { return iconsOf_ >= 0; }
    // Waits until every thumbnail asked for so far is decoded (for the tests).
    void WaitForThumbnails();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Cell {
        int item;
        int icon;
    };
    struct Job {
        int generation;
        int row;
        Cell cell;
    };
    void Reset(const std::string& path, const std::vector<DatEntry>& directory);
    void Want(int row) const;
    void Work();
    void Deliver(int generation, int row, const QImage& image);

    std::string path_;
    std::vector<DatEntry> entries_;  // the cells' items, copied for the workers
    std::vector<Cell> cells_;
    int iconsOf_ = -1;
    int generation_ = 0;

    mutable QCache<int, QImage> cache_;  // by row, for the current generation
    mutable std::set<int> asked_;        // rows wanted or being decoded

    // Shared with the workers.
    mutable std::mutex mutex_;
    mutable std::deque<Job> queue_;
    mutable int workers_ = 0;
    mutable QThreadPool pool_;
};
