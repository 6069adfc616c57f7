#include "sprite/S16Image.h"

#include <algorithm>
#include <cstring>

#include "sprite/IconDecoder.h"
#include "sprite/S16Format.h"
#include "support/ByteIo.h"
#include "support/Messages.h"

namespace {

const S16Icon kNoIcon{};

}  // namespace

S16Image::S16Image() {
    Create(0, 0, 24, false);
}

bool S16Image::OpenFile(const std::string& path) {
    CloseFile();
    if (!file_.Open(path, "rb", false)) return false;
    SetFileName(path);
    SetIconArea(0, file_.Length());
    ReadIconTable(1);
    return true;
}

void S16Image::OpenBytes(std::span<const std::uint8_t> bytes, const std::string& name) {
    CloseFile();
    memory_.assign(bytes.begin(), bytes.end());
    inMemory_ = true;
    SetFileName(name);
    SetIconArea(0, memory_.size());
    ReadIconTable(1);
}

void S16Image::SetIconArea(std::uint32_t start, std::uint64_t end) {
    baseOffset_ = start;
    dataEnd_ = end;
}

bool S16Image::ReadAt(std::uint64_t position, std::uint8_t* out, std::size_t count) {
    if (!inMemory_) return file_.ReadAt(position, out, count);
    if (position > memory_.size() || count > memory_.size() - position) return false;
    std::copy_n(memory_.data() + position, count, out);
    return true;
}

std::size_t S16Image::ReadUpTo(std::uint64_t position, std::uint8_t* out, std::size_t count) {
    if (!inMemory_) return file_.Seek(position) ? file_.Read(out, count) : 0;
    if (position >= memory_.size()) return 0;
    const std::size_t got = std::min<std::size_t>(count, memory_.size() - position);
    std::copy_n(memory_.data() + position, got, out);
    return got;
}

void S16Image::DropTable() {
    table_.clear();
    iconCount_ = 0;
    storedCount_ = 0;
    tableReadFailed_ = false;
    currentIcon_ = 0;
}

int S16Image::ReadIconTable(int n) {
    DropTable();
    std::uint8_t countBytes[s16::kCountSize];
    if (!HasFile() || baseOffset_ + std::uint64_t{s16::kCountSize} > dataEnd_) return 0;
    if (!ReadAt(baseOffset_, countBytes, sizeof countBytes)) {
        tableReadFailed_ = true;
        return 0;
    }
    storedCount_ = static_cast<std::int32_t>(LoadU32(countBytes));
    // A table longer than the S16 is cut to the records actually present.
    const std::uint64_t room = (dataEnd_ - baseOffset_ - s16::kCountSize) / s16::kIconRecordSize;
    const std::int64_t present = std::min<std::int64_t>(std::max<std::int64_t>(storedCount_, 0),
                                                        static_cast<std::int64_t>(room));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(present) * s16::kIconRecordSize);
    if (!bytes.empty() && !ReadAt(baseOffset_ + s16::kCountSize, bytes.data(), bytes.size())) {
        tableReadFailed_ = true;
        return 0;
    }
    ByteReader in(bytes);
    table_.reserve(static_cast<std::size_t>(present));
    for (std::int64_t i = 0; i < present; ++i)
        table_.push_back(S16Icon::Read(in));
    iconCount_ = static_cast<int>(present);
    return SelectIcon(n);
}

std::string S16Image::CountProblem() const {
    const std::uint64_t length = dataEnd_ > baseOffset_ ? dataEnd_ - baseOffset_ : 0;
    if (length < s16::kCountSize) return "it is too short to hold an icon count";
    const std::uint64_t room = (length - s16::kCountSize) / s16::kIconRecordSize;
    if (storedCount_ < 0 || static_cast<std::uint64_t>(storedCount_) > room) {
        return FormatText("it claims %lld icons but has room for %llu",
                          static_cast<long long>(storedCount_),
                          static_cast<unsigned long long>(room));
    }
    return {};
}

std::string S16Image::TableProblem() const {
    std::string problem = CountProblem();
    if (!problem.empty()) return problem;
    const std::uint64_t dataArea = dataEnd_ - baseOffset_ - s16::kCountSize -
                                   static_cast<std::uint64_t>(storedCount_) * s16::kIconRecordSize;
    for (int k = 1; k <= iconCount_; ++k) {
        const S16Icon& r = Icon(k);
        if (!s16::WithinIconLimits(r.TWidth, r.THeight)) {
            return FormatText("icon %d is %d x %d, over the limits of an icon", k, r.TWidth,
                              r.THeight);
        }
        if (r.Starts < 0 || r.Bytes < 0 ||
            static_cast<std::uint64_t>(r.Starts) + static_cast<std::uint64_t>(r.Bytes) > dataArea) {
            return FormatText("the data of icon %d (%d bytes at %d) lie outside the file", k,
                              r.Bytes, r.Starts);
        }
    }
    return {};
}

int S16Image::SelectIcon(int n) {
    if (iconCount_ < 1) {
        currentIcon_ = 0;
        return 0;
    }
    currentIcon_ = std::clamp(n, 1, iconCount_);
    return currentIcon_;
}

const S16Icon& S16Image::CurrentIcon() const {
    return currentIcon_ > 0 ? Icon(currentIcon_) : kNoIcon;
}

std::uint64_t S16Image::DataPosition(int number) const {
    const std::int64_t position = static_cast<std::int64_t>(baseOffset_) + s16::kCountSize +
                                  s16::kIconRecordSize * storedCount_ + Icon(number).Starts;
    return position < 0 ? dataEnd_ : static_cast<std::uint64_t>(position);
}

std::uint64_t S16Image::DataAreaSize() const {
    const std::uint64_t tableEnd =
        baseOffset_ + std::uint64_t{s16::kCountSize} +
        static_cast<std::uint64_t>(std::max<std::int64_t>(storedCount_, 0)) * s16::kIconRecordSize;
    return dataEnd_ > tableEnd ? dataEnd_ - tableEnd : 0;
}

bool S16Image::ReadCodedIcon(int number, CodedIcon& out) {
    if (number < 1 || number > iconCount_) return false;
    out.record = Icon(number);
    const std::uint64_t position = DataPosition(number);
    const std::int32_t length = out.record.Bytes;
    if (length < 0 || position > dataEnd_ ||
        static_cast<std::uint64_t>(length) > dataEnd_ - position)
        return false;
    out.data.resize(static_cast<std::size_t>(length));
    return length == 0 || ReadAt(position, out.data.data(), out.data.size());
}

int S16Image::DecodeIcon() {
    const int placed = DecodeCurrentIcon();
    if (placed < 1) {
        // A half-made picture would report one size over a buffer of another.
        FreePixels();
        Create(0, 0, 24, false);
    }
    return placed;
}

int S16Image::DecodeCurrentIcon() {
    if (currentIcon_ < 1) return 0;
    const S16Icon& r = CurrentIcon();
    if (!s16::DecodableIconSize(r.TWidth, r.THeight)) return 0;
    const std::int64_t storedPixels = static_cast<std::int64_t>(r.Width) * r.Height;
    if (storedPixels < 1) return 0;
    Create(r.TWidth, r.THeight, 24, false);
    if (!Allocate()) return 0;

    // Read the coded data in one block; a negative length reads what the
    // picture could hold. Nothing beyond the S16's end is read.
    const std::uint64_t position = DataPosition(currentIcon_);
    std::uint64_t wanted = r.Bytes < 0 ? ImageSize() : static_cast<std::uint64_t>(r.Bytes);
    wanted = std::min<std::uint64_t>(wanted, s16::kMaxCodedBytes);
    wanted = position < dataEnd_ ? std::min(wanted, dataEnd_ - position) : 0;
    if (wanted == 0) return 0;
    scratch_.resize(static_cast<std::size_t>(wanted));
    const std::size_t got = ReadUpTo(position, scratch_.data(), scratch_.size());
    if (got == 0) return 0;
    return ::DecodeIcon(r, {scratch_.data(), got}, *this);
}

void S16Image::CloseFile() {
    file_.Close();
    memory_.clear();
    inMemory_ = false;
    DropTable();
    SetIconArea(0, 0);
}

void S16Image::ReplaceColour(ColorValue from, ColorValue to) {
    if (!Pixels() || BitsPerPixel() != 24) return;
    const std::uint8_t f0 = static_cast<std::uint8_t>(from),
                       f1 = static_cast<std::uint8_t>(from >> 8),
                       f2 = static_cast<std::uint8_t>(from >> 16);
    for (int y = 0; y < Height(); ++y) {
        std::uint8_t* p = RowPtr(y);
        for (int x = 0; x < Width(); ++x, p += 3) {
            if (p[0] == f0 && p[1] == f1 && p[2] == f2) {
                p[0] = static_cast<std::uint8_t>(to);
                p[1] = static_cast<std::uint8_t>(to >> 8);
                p[2] = static_cast<std::uint8_t>(to >> 16);
            }
        }
    }
}

bool CheckS16Table(const S16Image& image, const std::string& name, bool wholeTable) {
    if (image.TableReadFailed()) {
        ShowError("Error reading the icon table of [%s]", name.c_str());
        return false;
    }
    const std::string problem = wholeTable ? image.TableProblem() : image.CountProblem();
    if (problem.empty()) return true;
    ShowError("%s is not an S16 file or is damaged: %s", name.c_str(), problem.c_str());
    return false;
}
