#include "shp/ShpConversion.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

#include "bitmap/PixelBuffer24.h"
#include "shp/ShpFormat.h"
#include "shp/ShpPalette.h"
#include "shp/ShpRowDecoder.h"
#include "sprite/S16Format.h"
#include "sprite/S16Icon.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"
#include "support/DurabilityBatch.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/SafeFileWriter.h"
#include "support/Text.h"

namespace fs = std::filesystem;

namespace {

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    DataFile in;
    if (!in.Open(path, "rb", false)) return false;
    const std::uint64_t length = in.Length();
    if (length > shp::kMaxFileSize) return false;
    bytes.resize(static_cast<std::size_t>(length));
    return bytes.empty() || in.ReadAt(0, bytes.data(), bytes.size());
}

// The smallest rectangle holding every opaque pixel, with the fallbacks that
// store a frame without opaque pixels whole.
void FindStoredArea(const PixelBuffer24& frame, S16Icon& r) {
    const int w = frame.Width(), h = frame.Height();
    int minX = 10000, minY = 10000, maxX = 0, maxY = 0;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = frame.RowPtr(y);
        for (int x = 0; x < w; ++x) {
            if (row[x] == shp::kTransparentIndex) continue;
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y);
        }
    }
    if (minX > w) minX = 0;
    if (minY > h) minY = 0;
    if (maxX == 0) maxX = w - 1;
    if (maxY == 0) maxY = h - 1;
    r.StartX = minX;
    r.StartY = minY;
    r.Width = maxX - minX + 1;
    r.Height = maxY - minY + 1;
}

// Visits the runs of the stored area (equal indexes, at most 255 long, going
// on across row ends).
template <typename Visit>
void ForEachRun(const PixelBuffer24& frame, const S16Icon& r, Visit visit) {
    int count = 0;
    int index = frame.RowPtr(r.StartY)[r.StartX];
    for (int y = r.StartY; y < r.StartY + r.Height; ++y) {
        const std::uint8_t* row = frame.RowPtr(y);
        for (int x = r.StartX; x < r.StartX + r.Width; ++x) {
            if (row[x] == index && count < s16::kMaxRun) {
                ++count;
                continue;
            }
            if (count > 0) visit(count, index);
            index = row[x];
            count = 1;
        }
    }
    visit(count, index);
}

// Raw coding is never longer than two bytes a pixel: any frame of the working
// buffer codes within the limit decoding reads.
static_assert(s16::WithinCodedLimit(2 * static_cast<std::int64_t>(shp::kFrameBufferSize)));

// Codes the decoded frame as an icon; equal sizes choose raw coding.
CodedIcon CodeFrame(const PixelBuffer24& frame) {
    CodedIcon icon;
    S16Icon& r = icon.record;
    r.TWidth = frame.Width();
    r.THeight = frame.Height();
    FindStoredArea(frame, r);
    std::int64_t runs = 0;
    ForEachRun(frame, r, [&](int, int) { ++runs; });
    const std::int64_t raw = 2LL * r.Width * r.Height;
    r.Compress = 3 * runs < raw ? s16::kRunLengthCoded : 0;
    ByteWriter w(icon.data);
    if (r.IsRunLength()) {
        ForEachRun(frame, r, [&](int count, int index) {
            w.U8(static_cast<std::uint8_t>(count));
            w.U16(ShpColourWord(index));
        });
    } else {
        for (int y = r.StartY; y < r.StartY + r.Height; ++y) {
            const std::uint8_t* row = frame.RowPtr(y);
            for (int x = r.StartX; x < r.StartX + r.Width; ++x)
                w.U16(ShpColourWord(row[x]));
        }
    }
    return icon;
}

// The file offset of frame `index` (0-based).
std::size_t FrameOffset(std::span<const std::uint8_t> file, std::size_t index) {
    return LoadU32(file.data() + shp::kHeaderSize + index * shp::kOffsetEntrySize);
}

// Decodes the frame at `offset` into `frame`; false when the frame lies
// outside the file, over the size limits of an icon, or does not fit the
// 640 x 480 working buffer. `end` receives where its coded rows stop.
bool DecodeFrameAt(std::span<const std::uint8_t> file, std::size_t offset, PixelBuffer24& frame,
                   std::size_t& end) {
    if (offset > file.size() || file.size() - offset < shp::kFrameHeaderSize) return false;
    ByteReader in({file.data() + offset, shp::kFrameHeaderSize});
    ShpFrameHeader header = ShpFrameHeader::Read(in);
    const int w = header.Width(), h = header.Height();
    // The frame becomes an icon: it must be one that decoding shows.
    if (!s16::DecodableIconSize(w, h) ||
        static_cast<std::size_t>(bmp::RowSize(w, 8)) * h > frame.Capacity())
        return false;
    frame.Create(w, h, 8, false);
    std::memset(frame.Pixels(), shp::kTransparentIndex, frame.ImageSize());
    DecodeShpRows(file, offset + shp::kFrameHeaderSize, header, frame, &end);
    return true;
}

// Codes every frame of `file`, in the order of their offsets so that frames
// whose bytes overlap are found before any more is coded: frames at the same
// offset become icons sharing one copy of the data, any other overlap refuses
// the file. Memory and output thus stay in proportion to the file.
bool CodeFrames(std::span<const std::uint8_t> file, std::size_t count, const std::string& shpPath,
                std::vector<CodedIcon>& icons) {
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&file](std::size_t a, std::size_t b) {
        return FrameOffset(file, a) < FrameOffset(file, b);
    });
    std::vector<std::uint8_t> working(shp::kFrameBufferSize);
    PixelBuffer24 frame;
    frame.Attach(working.data(), working.size(), false);
    icons.assign(count, CodedIcon{});
    std::size_t previous = 0, previousEnd = 0;
    bool first = true;
    for (const std::size_t i : order) {
        const std::size_t offset = FrameOffset(file, i);
        if (!first && offset == FrameOffset(file, previous)) {
            icons[i].record = icons[previous].record;
            icons[i].sharedWith = static_cast<int>(previous);  // the sort keeps it the lower
            continue;
        }
        if (!first && offset < previousEnd) {
            ShowError("Frames %d and %d of %s overlap in the file",
                      static_cast<int>(std::min(i, previous)) + 1,
                      static_cast<int>(std::max(i, previous)) + 1, shpPath.c_str());
            return false;
        }
        std::size_t end = offset;
        if (!DecodeFrameAt(file, offset, frame, end))
            return false;  // no other picture takes the frame's place
        icons[i] = CodeFrame(frame);
        previous = i;
        previousEnd = end;
        first = false;
    }
    return true;
}

}  // namespace

bool ShpToS16Bytes(const std::string& shpPath, std::vector<std::uint8_t>& s16) {
    std::vector<std::uint8_t> file;
    return Exists(shpPath) && ReadWholeFile(shpPath, file) && ShpBytesToS16(file, shpPath, s16);
}

bool ShpBytesToS16(std::span<const std::uint8_t> file, const std::string& shpPath,
                   std::vector<std::uint8_t>& s16) {
    if (file.size() < shp::kHeaderSize) return false;
    const std::int32_t count = static_cast<std::int32_t>(LoadU32(file.data() + 4));
    if (count < 1 || static_cast<std::uint64_t>(count) >
                         (file.size() - shp::kHeaderSize) / shp::kOffsetEntrySize) {
        return false;
    }
    std::vector<CodedIcon> icons;
    if (!CodeFrames(file, static_cast<std::size_t>(count), shpPath, icons)) return false;
    s16 = BuildS16File(icons);
    return true;
}

bool ConvertShpToS16(const std::string& shpPath, const std::string& s16Path,
                     DurabilityBatch* batch) {
    std::vector<std::uint8_t> s16;
    return ShpToS16Bytes(shpPath, s16) && WriteWholeFile(s16Path, s16, batch);
}

ExistingS16Files::ExistingS16Files(const std::string& s16Folder) {
    std::error_code error;
    for (fs::directory_iterator it(s16Folder.empty() ? std::string(".") : s16Folder, error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = ToUpper(it->path().filename().string());
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".S16") == 0)
            upperNames_.insert(name);
    }
}

bool ExistingS16Files::Has(const std::string& baseName) const {
    return upperNames_.count(ToUpper(baseName + ".S16")) != 0;
}

void ExistingS16Files::Add(const std::string& baseName) {
    upperNames_.insert(ToUpper(baseName + ".S16"));
}

std::vector<std::string> ListShpFiles(const std::string& shpFolder, const std::string& s16Folder,
                                      bool onlyNew) {
    std::vector<std::string> names;
    std::optional<ExistingS16Files> existing;
    if (onlyNew) existing.emplace(s16Folder);
    std::error_code error;
    for (fs::directory_iterator it(shpFolder.empty() ? std::string(".") : shpFolder, error), end;
         !error && it != end; it.increment(error)) {
        std::error_code ignored;
        const std::string name = it->path().filename().string();
        if (!it->is_regular_file(ignored) || UpperExtension(name) != ".SHP") continue;
        if (existing && existing->Has(SplitPath(name, kPathBaseName))) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

ShpBatchResult ConvertShpFiles(const std::string& shpFolder, const std::vector<std::string>& names,
                               const std::string& s16Folder, Progress& progress,
                               const std::function<void(const std::string& s16Path)>& onFile,
                               DurabilityBatch* batch) {
    ShpBatchResult result;
    DurabilityBatch own;
    std::vector<std::string> converted;
    ProgressScope scope(progress, static_cast<int>(names.size()) - 1);
    for (const std::string& name : names) {
        if (scope.Cancelled()) {
            result.cancelled = true;
            break;
        }
        scope.Step();
        const std::string base = SplitPath(name, kPathBaseName);
        const std::string s16Path = FormatText("%s%s.s16", s16Folder.c_str(), base.c_str());
        if (onFile) onFile(s16Path);
        // The listed name is used as it stands, so that ".SHP" files convert on
        // file systems that tell letter cases apart.
        if (ConvertShpToS16(shpFolder + name, s16Path, batch != nullptr ? batch : &own)) {
            converted.push_back(name);
        } else {
            result.failed.push_back(name);
        }
    }
    if (batch == nullptr && !own.MakeDurable()) {
        result.failed.insert(result.failed.end(), converted.begin(), converted.end());
        converted.clear();
    }
    result.converted = static_cast<int>(converted.size());
    return result;
}

void TellShpBatch(const ShpBatchResult& result, const std::string& s16Folder) {
    if (result.cancelled) ShowInfo("Cancelled: the other SHP files were not converted");
    ShowInfo("\nConverted %d files  \nto folder: \n\t%s\n ", result.converted, s16Folder.c_str());
    if (result.failed.empty()) return;
    std::string names;
    for (const std::string& name : result.failed)
        names += "\n" + name;
    ShowError("%d SHP files could not be converted:%s", static_cast<int>(result.failed.size()),
              names.c_str());
}
