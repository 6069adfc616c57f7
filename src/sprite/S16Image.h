#pragma once
// An S16 icon set in memory: the icon table of a standalone S16 file or of an
// archive item, and the last decoded icon as a 24-bit picture whose unused
// area holds the key colour.

#include <cstdint>
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
    // Reads the icon count and table at `baseOffset`; returns SelectIcon(n).
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
    bool TableReadFailed() const { return tableReadFailed; }

    int IconCount() const { return iconCount; }
    int CurrentIconNumber() const { return currentIcon; }
    // The current icon's record; a zero record when there is none.
    const S16Icon& CurrentIcon() const;
    const S16Icon& Icon(int number) const { return table[static_cast<std::size_t>(number - 1)]; }
    const std::vector<S16Icon>& Table() const { return table; }
    std::uint32_t BaseOffset() const { return baseOffset; }
    // Bytes of the pixel data area: from the end of the stored table to the S16's end.
    std::uint64_t DataAreaSize() const;
    bool HasFile() const { return file.IsOpen(); }
    // The open file the icons are read from.
    const DataFile& File() const { return file; }

protected:
    // File position of icon `number`'s coded data.
    std::uint64_t DataPosition(int number) const;
    void DropTable();

    DataFile file;
    std::uint32_t baseOffset = 0;
    // End of the S16's bytes in the file: the file's length standalone, the
    // item's end inside an archive. Nothing is read at or beyond it.
    std::uint64_t dataEnd = 0;
    int iconCount = 0;
    // The count as stored; the pixel data area starts after this many records
    // even when the table had to be cut to the records present.
    std::int64_t storedCount = 0;
    bool tableReadFailed = false;
    std::vector<S16Icon> table;
    int currentIcon = 0;

private:
    int DecodeCurrentIcon();

    std::vector<std::uint8_t> scratch_;  // coded data of the icon being decoded
};

// False, after a message naming `name`, when the icon table could not be read
// or its count cannot be sound ("... is not an S16 file or is damaged: why");
// with `wholeTable`, also when a record cannot be.
bool CheckS16Table(const S16Image& image, const std::string& name, bool wholeTable);
