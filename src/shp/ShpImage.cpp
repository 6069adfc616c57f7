#include "shp/ShpImage.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "shp/ShpPalette.h"
#include "shp/ShpRowDecoder.h"
#include "sprite/CollageLayout.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"
#include "support/Messages.h"

ShpImage::ShpImage() : frameBuffer_(shp::kFrameBufferSize) {
    Create(0, 0, 8, false);
    SetPaletteRgb(kShpPalette.data());
    Attach(frameBuffer_.data(), frameBuffer_.size(), false);
}

bool ShpImage::Open(const std::string& path) {
    file_.clear();
    offsets_.clear();
    frameCount_ = 0;
    currentFrame_ = 0;
    DataFile in;
    if (!in.Open(path, "rb", false)) return false;
    const std::uint64_t length = in.Length();
    if (length > shp::kMaxFileSize) return false;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (!bytes.empty() && !in.ReadAt(0, bytes.data(), bytes.size())) return false;
    file_ = std::move(bytes);
    TakeFile(path);
    return true;
}

bool ShpImage::OpenBytes(std::span<const std::uint8_t> bytes, const std::string& name) {
    file_.clear();
    offsets_.clear();
    frameCount_ = 0;
    currentFrame_ = 0;
    if (bytes.size() > shp::kMaxFileSize) return false;
    file_.assign(bytes.begin(), bytes.end());
    TakeFile(name);
    return true;
}

void ShpImage::TakeFile(const std::string& name) {
    SetFileName(name);
    ReadDirectory(1);
}

int ShpImage::ReadDirectory(int n) {
    offsets_.clear();
    frameCount_ = 0;
    currentFrame_ = 0;
    storedCount_ = 0;
    if (file_.size() < shp::kHeaderSize) return 0;
    const std::int32_t count = static_cast<std::int32_t>(LoadU32(file_.data() + 4));
    storedCount_ = count;
    // A table longer than the file is cut to the entries it holds.
    const std::size_t room = (file_.size() - shp::kHeaderSize) / shp::kOffsetEntrySize;
    const std::size_t present =
        std::min<std::size_t>(count > 0 ? static_cast<std::size_t>(count) : 0, room);
    for (std::size_t i = 0; i < present; ++i) {
        offsets_.push_back(LoadU32(file_.data() + shp::kHeaderSize + i * shp::kOffsetEntrySize));
    }
    frameCount_ = static_cast<int>(present);
    return SelectFrame(n);
}

std::string ShpImage::TableProblem() {
    if (file_.size() < shp::kHeaderSize) return "it is too short to hold a frame count";
    const std::size_t room = (file_.size() - shp::kHeaderSize) / shp::kOffsetEntrySize;
    if (storedCount_ < 0 || static_cast<std::uint64_t>(storedCount_) > room) {
        return FormatText("it claims %lld frames but has room for %zu",
                          static_cast<long long>(storedCount_), room);
    }
    const int selected = currentFrame_;
    std::string problem;
    for (int k = 1; k <= frameCount_ && problem.empty(); ++k) {
        const std::uint32_t offset = offsets_[static_cast<std::size_t>(k - 1)];
        if (offset < static_cast<std::uint64_t>(shp::kHeaderSize) +
                         static_cast<std::uint64_t>(storedCount_) * shp::kOffsetEntrySize ||
            offset > file_.size() || file_.size() - offset < shp::kFrameHeaderSize) {
            problem = FormatText("frame %d lies outside the file (offset %u)", k, offset);
            break;
        }
        SelectFrame(k);
        if (header_.WidthMinus1 < 0 || header_.WidthMinus1 > shp::kMaxFrameWidth - 1 ||
            header_.HeightMinus1 < 0 || header_.HeightMinus1 > shp::kMaxFrameHeight - 1) {
            problem = FormatText("frame %d is %d x %d, over the limits of a frame", k,
                                 header_.Width(), header_.Height());
        }
    }
    SelectFrame(selected);
    return problem;
}

int ShpImage::SelectFrame(int n) {
    if (frameCount_ < 1) return 0;
    currentFrame_ = std::clamp(n, 1, frameCount_);
    const std::size_t offset = offsets_[static_cast<std::size_t>(currentFrame_ - 1)];
    std::uint8_t bytes[shp::kFrameHeaderSize] = {};
    if (offset < file_.size()) {
        std::memcpy(bytes, file_.data() + offset,
                    std::min<std::size_t>(sizeof bytes, file_.size() - offset));
    }
    ByteReader in(bytes);
    header_ = ShpFrameHeader::Read(in);
    rowsStart_ = std::min<std::size_t>(offset + shp::kFrameHeaderSize, file_.size());
    return currentFrame_;
}

bool ShpImage::PrepareFrame() {
    if (header_.WidthMinus1 < 1 || header_.WidthMinus1 > shp::kMaxFrameWidth - 1 ||
        header_.HeightMinus1 < 1 || header_.HeightMinus1 > shp::kMaxFrameHeight - 1) {
        return false;
    }
    Create(header_.Width(), header_.Height(), 8, false);
    if (ImageSize() > Capacity()) return false;
    std::memset(Pixels(), shp::kTransparentIndex, ImageSize());
    return true;
}

int ShpImage::DecodeFrame() {
    if (currentFrame_ < 1 || !PrepareFrame()) return 0;
    return DecodeShpRows(file_, rowsStart_, header_, *this);
}

int ShpImage::DrawPage(Surface* surface, const Rect& area, int first, bool& noMore) {
    if (surface)
        surface->FillRect(area.left, area.top, area.Width(), area.Height(),
                          MakeColor(162, 220, 220));
    const CollageResult result = LayOutCells(
        first, frameCount_, area.Width(), area.Height(), true,
        [this](int number) {
            SelectFrame(number);
            return CellSize{header_.Width(), header_.Height()};
        },
        [&](const CollageCell& cell) {
            SelectFrame(cell.icon);
            if (DecodeFrame() > 0)
                Draw(surface, area.left + cell.x, area.top + cell.y, cell.width, cell.height,
                     false);
        });
    // Only a placed last frame ends the paging, so that it can always be reached.
    noMore = result.lastPlaced >= frameCount_;
    return result.placed;
}
