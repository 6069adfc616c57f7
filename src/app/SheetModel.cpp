#include "app/SheetModel.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>

#include "app/QtSurface.h"
#include "sprite/S16Image.h"
#include "support/DataFile.h"

namespace {

// Rows asked for and not yet decoded beyond this many were scrolled past: the
// oldest are dropped (and asked again if they come back into view).
constexpr std::size_t kMaxQueued = 400;
constexpr int kCachedThumbnails = 6000;
// An item larger than this is no icon set worth a thumbnail.
constexpr std::int64_t kMaxItemBytes = 32 << 20;

// Icon `icon` of the S16 that lies at the entry's bytes, scaled to fit the
// thumbnail with whole pixels; a null image when it cannot be decoded.
QImage DecodeThumbnail(DataFile& file, const DatEntry& entry, int icon) {
    if (!entry.isS16 || entry.size <= 0 || entry.size > kMaxItemBytes) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(entry.size));
    if (!file.Seek(entry.offset) || file.Read(bytes.data(), bytes.size()) != bytes.size())
        return {};
    S16Image image;
    image.OpenBytes(bytes, entry.Name());
    if (image.IconCount() < icon || image.SelectIcon(icon) != icon || image.DecodeIcon() <= 0)
        return {};
    const QImage picture = ToImage(image.View());
    const int longest = std::max(picture.width(), picture.height());
    const int size = SheetModel::kThumbnailSize;
    if (longest <= size) {
        const int factor = std::max(1, size / longest);
        return picture.scaled(picture.size() * factor, Qt::KeepAspectRatio, Qt::FastTransformation);
    }
    return picture.scaled(size, size, Qt::KeepAspectRatio, Qt::FastTransformation);
}

// Every cell is the same size, decoded or not: the view measures one cell for
// all, and a thumbnail arriving later must not change the layout.
QImage InFrame(const QImage& thumbnail) {
    const int size = SheetModel::kThumbnailSize;
    QImage frame(size, size, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    if (!thumbnail.isNull()) {
        QPainter painter(&frame);
        painter.drawImage((size - thumbnail.width()) / 2, (size - thumbnail.height()) / 2,
                          thumbnail);
    }
    return frame;
}

}  // namespace

SheetModel::SheetModel(QObject* parent) : QAbstractListModel(parent), cache_(kCachedThumbnails) {
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
}

SheetModel::~SheetModel() {
    {
        const std::lock_guard lock(mutex_);
        queue_.clear();
    }
    pool_.waitForDone();
}

void SheetModel::Reset(const std::string& path, const std::vector<DatEntry>& directory) {
    {
        const std::lock_guard lock(mutex_);
        queue_.clear();
        ++generation_;
        path_ = path;
        entries_ = directory;
    }
    cache_.clear();
    asked_.clear();
}

void SheetModel::ShowItems(const std::string& path, const std::vector<DatEntry>& directory,
                           const std::vector<int>& items) {
    beginResetModel();
    Reset(path, directory);
    iconsOf_ = -1;
    cells_.clear();
    cells_.reserve(items.size());
    for (int item : items)
        cells_.push_back({item, 1});
    endResetModel();
}

void SheetModel::ShowIcons(const std::string& path, const std::vector<DatEntry>& directory,
                           int item) {
    beginResetModel();
    Reset(path, directory);
    iconsOf_ = item;
    cells_.clear();
    if (item >= 0 && item < static_cast<int>(directory.size())) {
        const int icons = std::max(0, directory[static_cast<std::size_t>(item)].icons);
        for (int icon = 1; icon <= icons; ++icon)
            cells_.push_back({item, icon});
    }
    endResetModel();
}

void SheetModel::Clear() {
    ShowItems({}, {}, {});
}

int SheetModel::ItemAt(int row) const {
    return row >= 0 && row < rowCount() ? cells_[static_cast<std::size_t>(row)].item : -1;
}

int SheetModel::IconAt(int row) const {
    return row >= 0 && row < rowCount() ? cells_[static_cast<std::size_t>(row)].icon : -1;
}

int SheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cells_.size());
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    if (!index.isValid() || row >= rowCount()) return {};
    const Cell& cell = cells_[static_cast<std::size_t>(row)];
    if (role == Qt::DisplayRole) {
        if (iconsOf_ >= 0) return QString("#%1").arg(cell.icon);
        return QString::fromStdString(entries_[static_cast<std::size_t>(cell.item)].Name());
    }
    if (role == Qt::ToolTipRole && iconsOf_ < 0)
        return QString::fromStdString(entries_[static_cast<std::size_t>(cell.item)].Name());
    if (role != Qt::DecorationRole) return {};
    if (const QImage* image = cache_.object(row)) return *image;
    Want(row);
    static const QImage empty = InFrame({});
    return empty;
}

void SheetModel::Want(int row) const {
    if (!asked_.insert(row).second) return;
    const std::lock_guard lock(mutex_);
    queue_.push_back({generation_, row, cells_[static_cast<std::size_t>(row)]});
    while (queue_.size() > kMaxQueued) {
        asked_.erase(queue_.front().row);
        queue_.pop_front();
    }
    if (workers_ < pool_.maxThreadCount()) {
        ++workers_;
        pool_.start([self = const_cast<SheetModel*>(this)] { self->Work(); });
    }
}

// A worker: decodes the most recently wanted thumbnails until none is left.
void SheetModel::Work() {
    DataFile file;
    std::string openPath;
    int openGeneration = -1;
    for (;;) {
        Job job;
        DatEntry entry;
        std::string path;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty()) {
                --workers_;
                return;
            }
            job = queue_.back();
            queue_.pop_back();
            if (job.generation != generation_) continue;
            entry = entries_[static_cast<std::size_t>(job.cell.item)];
            path = path_;
        }
        // A new generation may be a new file under the same name (a rewrite,
        // an undo, a reload): the one held open may be the old one.
        if (path != openPath || job.generation != openGeneration) {
            file.Close();
            openPath = file.Open(path, "rb", false) ? path : std::string();
            openGeneration = job.generation;
        }
        const QImage image =
            openPath.empty() ? QImage() : DecodeThumbnail(file, entry, job.cell.icon);
        QMetaObject::invokeMethod(
            this, [this, job, image] { Deliver(job.generation, job.row, image); },
            Qt::QueuedConnection);
    }
}

void SheetModel::Deliver(int generation, int row, const QImage& image) {
    if (generation != generation_ || row >= rowCount()) return;
    asked_.erase(row);
    // A cell that cannot be decoded keeps its empty frame; it is not asked again.
    cache_.insert(row, new QImage(InFrame(image)));
    const QModelIndex cell = index(row);
    emit dataChanged(cell, cell, {Qt::DecorationRole});
}

void SheetModel::WaitForThumbnails() {
    pool_.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}
