#pragma once
// Turning SHP files of the other game into S16 files: one icon per frame, the
// stored area the smallest rectangle holding every opaque pixel.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

class DurabilityBatch;
class Progress;

// Converts one SHP file. The S16 file appears only when complete: a file
// without frames, or a frame that cannot be decoded, writes nothing.
// With `batch`, the file is left for the batch to flush.
bool ConvertShpToS16(const std::string& shpPath, const std::string& s16Path,
                     DurabilityBatch* batch = nullptr);
// The S16 file that ConvertShpToS16 would write, as bytes.
bool ShpToS16Bytes(const std::string& shpPath, std::vector<std::uint8_t>& s16);
// The same from the bytes of an SHP file; `shpPath` is what messages call it.
bool ShpBytesToS16(std::span<const std::uint8_t> shp, const std::string& shpPath,
                   std::vector<std::uint8_t>& s16);

// The .shp files of `shpFolder` (names, sorted); with `onlyNew`, only those
// without an S16 file of the same base name (any case) in `s16Folder`.
std::vector<std::string> ListShpFiles(const std::string& shpFolder, const std::string& s16Folder,
                                      bool onlyNew);
// The S16 files of a folder, read once, so that checking many SHP files
// against it costs one listing of the folder, not one per file.
class ExistingS16Files {
public:
    explicit ExistingS16Files(const std::string& s16Folder);
    // True when the folder holds "<baseName>.S16" in any letter case.
    bool Has(const std::string& baseName) const;
    // Counts "<baseName>.S16" as there from now on (a file just written).
    void Add(const std::string& baseName);

private:
    std::unordered_set<std::string> upperNames_;
};

struct ShpBatchResult {
    int converted = 0;
    std::vector<std::string> failed;  // names of the SHP files that could not be converted
    bool cancelled = false;           // the user stopped the batch; the rest was not converted
};

// Converts the named SHP files of `shpFolder` into "<name>.s16" files of
// `s16Folder`, overwriting what is there; `onFile` (if set) is told each S16
// path before its conversion. The files are flushed to disk together at the
// end (a failed flush counts every file as failed), or with `batch` left for
// the caller's batch to flush.
ShpBatchResult ConvertShpFiles(const std::string& shpFolder, const std::vector<std::string>& names,
                               const std::string& s16Folder, Progress& progress,
                               const std::function<void(const std::string& s16Path)>& onFile = {},
                               DurabilityBatch* batch = nullptr);
// The message after a batch: how many were converted, and which failed.
void TellShpBatch(const ShpBatchResult& result, const std::string& s16Folder);
