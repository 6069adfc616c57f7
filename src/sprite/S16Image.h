#pragma once
// An S16 icon set in memory: the icon table of a standalone S16 file or of an
// archive item, and the last decoded icon as a 24-bit picture whose unused
// area holds the key colour.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "bitmap/PixelBuffer24.h"
#include "sprite/S16Icon.h"
#include "support/DataFile.h"

class S16Image : public PixelBuffer24 {
public:
    S16Image();
    ~S16Image() override = default;

    // Opens a standalone S16 file and reads its table with icon 1 current.
    // False, without a message, when the file cannot be opened.
    bool OpenFile(const std::string& path);
    // Reads the S16 from a copy of `bytes`, as OpenFile reads a file; `name`
    // is what messages call it. Nothing can be written back.
    void OpenBytes(std::span<const std::uint8_t> bytes, const std::string& name);
    // Reads the icon count and table at BaseOffset(); returns SelectIcon(n).
    int ReadIconTable(int n);
    // Makes icon n current (clamped to 1..count); returns the number selected.
    int SelectIcon(int n);
    // Decodes the current icon into the picture; returns the pixels placed.
    // When nothing could be placed the picture is left empty (0 x 0, no pixels).
    int DecodeIcon();
    void CloseFile();
    // Sets every pixel of the decoded picture equal to `from` to `to`.
    void ReplaceColour(ColorValue from, ColorValue to);
    // Reads the coded data of icon `number` (1-based) as stored. False when its
    // data do not lie inside the S16.
    bool ReadCodedIcon(int number, CodedIcon& out);

    // Why the S16 cannot be one at all: an icon count that it cannot hold.
    // Empty when the count is sound.
    std::string CountProblem() const;
    // CountProblem, or else the first icon over the size limits or with data
    // outside the S16. Empty when the table can be what it claims.
    std::string TableProblem() const;
    // True when the table could not be read from the file: a rewrite would lose icons.
    bool TableReadFailed() const { return tableReadFailed_; }

    int IconCount() const { return iconCount_; }
    int CurrentIconNumber() const { return currentIcon_; }
    // The current icon's record; a zero record when there is none.
    const S16Icon& CurrentIcon() const;
    const S16Icon& Icon(int number) const { return table_[static_cast<std::size_t>(number - 1)]; }
    const std::vector<S16Icon>& Table() const { return table_; }
    std::uint32_t BaseOffset() const { return baseOffset_; }
    // Bytes of the pixel data area: from the end of the stored table to the S16's end.
    std::uint64_t DataAreaSize() const;
    // True when icons are read from an open file or from bytes.
    bool HasFile() const { return file_.IsOpen() || inMemory_; }
    // The open file the icons are read from (closed for an S16 read from bytes).
    const DataFile& File() const { return file_; }

protected:
    // The file handle itself, for an archive that opens, reads and rewrites it.
    DataFile& FileHandle() { return file_; }
    // Where the S16's bytes lie in the file: from `start` up to `end`.
    void SetIconArea(std::uint32_t start, std::uint64_t end);
    void DropTable();

private:
    // File position of icon `number`'s coded data.
    std::uint64_t DataPosition(int number) const;
    // Exactly `count` bytes at `position` of the file or of the bytes.
    bool ReadAt(std::uint64_t position, std::uint8_t* out, std::size_t count);
    // Up to `count` bytes at `position`; the number that arrived.
    std::size_t ReadUpTo(std::uint64_t position, std::uint8_t* out, std::size_t count);
    int DecodeCurrentIcon();

    DataFile file_;
    // The S16 read by OpenBytes, used instead of the file when `inMemory_`.
    std::vector<std::uint8_t> memory_;
    bool inMemory_ = false;
    std::uint32_t baseOffset_ = 0;
    // End of the S16's bytes in the file: the file's length standalone, the
    // item's end inside an archive. Nothing is read at or beyond it.
    std::uint64_t dataEnd_ = 0;
    int iconCount_ = 0;
    // The count as stored; the pixel data area starts after this many records
    // even when the table had to be cut to the records present.
    std::int64_t storedCount_ = 0;
    bool tableReadFailed_ = false;
    std::vector<S16Icon> table_;
    int currentIcon_ = 0;
    std::vector<std::uint8_t> scratch_;  // coded data of the icon being decoded
};

// False, after a message naming `name`, when the icon table could not be read
// or its count cannot be sound ("... is not an S16 file or is damaged: why");
// with `wholeTable`, also when a record cannot be.
bool CheckS16Table(const S16Image& image, const std::string& name, bool wholeTable);
