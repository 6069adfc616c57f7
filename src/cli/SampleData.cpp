#include "cli/SampleData.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "archive/DatArchive.h"
#include "archive/DatFormat.h"
#include "archive/RepackFolder.h"
#include "bitmap/PixelBuffer24.h"
#include "cli/OutputFolder.h"
#include "shp/ShpExport.h"
#include "sprite/IconEncoder.h"
#include "sprite/S16Format.h"
#include "sprite/S16Icon.h"
#include "sprite/S16Image.h"
#include "support/DataFile.h"
#include "support/DurabilityBatch.h"
#include "support/ErrorLog.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/Progress.h"
#include "support/SafeFileWriter.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPoses = 9;

ColorValue UnitColour(int unit) {
    static const ColorValue colours[] = {MakeColor(200, 40, 40),  MakeColor(40, 90, 200),
                                         MakeColor(60, 160, 60),  MakeColor(200, 170, 40),
                                         MakeColor(130, 60, 170), MakeColor(40, 160, 170)};
    return colours[unit % 6];
}

void Blank(PixelBuffer24& picture, int width, int height, ColorValue colour) {
    picture.Create(width, height, 24, false);
    picture.Allocate();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.SetColor(x, y, colour);
    }
}

std::vector<std::uint8_t> S16Of(const std::vector<const PixelBuffer24*>& pictures) {
    std::vector<CodedIcon> icons(pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i)
        EncodeIcon(*pictures[i], icons[i]);
    return BuildS16File(icons);
}

std::vector<std::uint8_t> UnitS16(int unit) {
    PixelBuffer24 poses[kPoses];
    std::vector<const PixelBuffer24*> pictures;
    for (int pose = 0; pose < kPoses; ++pose) {
        PaintUnitIcon(poses[pose], unit, pose);
        pictures.push_back(&poses[pose]);
    }
    return S16Of(pictures);
}

std::vector<std::uint8_t> InterfaceS16(int item) {
    PixelBuffer24 picture;
    PaintInterfaceIcon(picture, item);
    return S16Of({&picture});
}

// Scratch files are removed again, so they are written without the flush to
// disk that a user's file gets: thousands of flushes took a minute.
bool WriteScratchFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    DataFile file;
    if (!file.Open(path, "wb", true)) return false;
    if (!file.Write(bytes.data(), bytes.size()) || !file.Close()) {
        ReportWriteError(path);
        return false;
    }
    return true;
}

// "<prefix><number>.S16" within the 12 characters of an item name: the
// prefix gives way to the digits ("UNIT01", "UNIT1234", "UNI12345").
std::string ItemName(const std::string& prefix, int number) {
    const std::string digits = FormatText("%02d", number);
    const std::size_t room = dat::kMaxFolderNameLength - 4 - digits.size();
    return prefix.substr(0, room) + digits + ".S16";
}

// The S16 items of the archive, written into the staging folder and packed
// there; the archive then joins `batch` under its own name.
bool WriteArchive(const std::string& folder, const std::string& staging, int items,
                  Progress& progress, DurabilityBatch& batch) {
    bool ok = true;
    const int units = (items + 1) / 2;
    for (int i = 0; ok && i < items; ++i) {
        const bool unit = i < units;
        const std::string name = unit ? ItemName("UNIT", i + 1) : ItemName("WIDGET", i - units + 1);
        ok = WriteScratchFile(staging + name, unit ? UnitS16(i) : InterfaceS16(i));
    }
    const std::string version = "Sample archive written by varnok-dat sample.\n";
    ok = ok && WriteScratchFile(staging + "VERSION.TXT", {version.begin(), version.end()});
    ErrorLog log;
    // The staging folder goes: only the finished archive is ever flushed.
    DurabilityBatch scratch;
    ok = ok && RepackFolder(staging + "KELPAR.dat", log, progress, &scratch);
    if (ok) {
        DatArchive archive;
        archive.DeferDurability(&scratch);
        ok = archive.OpenArchive(staging + "KELPAR.dat") &&
             archive.AddItem(staging + "VERSION.TXT", progress).done;
    }
    if (!ok) return false;
    std::error_code error;
    const bool existed = fs::exists(fs::symlink_status(folder + "KELPAR.dat", error));
    fs::rename(staging + "KELPAR.dat", folder + "KELPAR.dat", error);
    if (error) {
        ReportReplaceError(folder + "KELPAR.dat", error.value());
        return false;
    }
    batch.Add(folder + "KELPAR.dat", !existed);
    return true;
}

bool WriteLooseFiles(const std::string& folder, DurabilityBatch& batch) {
    bool ok = WriteWholeFile(folder + "tank.s16", UnitS16(1), &batch) &&
              WriteWholeFile(folder + "panel.s16", InterfaceS16(3), &batch);

    PixelBuffer24 soldier;
    PaintUnitIcon(soldier, 2, 1);
    ok = ok && soldier.SaveAs24(folder + "soldier.bmp");

    // An 8-bit flag whose background is palette index 159.
    PixelBuffer24 flag;
    flag.Create(36, 24, 8, false);
    flag.Allocate();
    std::uint8_t rgb[768] = {};
    for (int i = 0; i < 256; ++i) {
        rgb[3 * i] = static_cast<std::uint8_t>(i);
        rgb[3 * i + 1] = static_cast<std::uint8_t>(255 - i);
        rgb[3 * i + 2] = static_cast<std::uint8_t>((i * 7) & 0xFF);
    }
    flag.SetPaletteRgb(rgb);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 36; ++x)
            flag.SetIndex(
                x, y, x < 2 || y < 2 || y > 21 ? 159 : static_cast<std::uint8_t>(20 + y / 8 * 60));
    }
    ok = ok && flag.Save(folder + "flag8.bmp", true);

    // Sheets of nine poses: 3 x 3 and 9 x 1.
    for (const bool grid : {true, false}) {
        const int cell = 40;
        PixelBuffer24 sheet;
        Blank(sheet, grid ? 3 * cell : 9 * cell, grid ? 3 * cell : cell, s16::kKeyColor);
        for (int pose = 0; pose < kPoses; ++pose) {
            PixelBuffer24 icon;
            PaintUnitIcon(icon, 4, pose);
            const int x = grid ? (pose % 3) * cell : pose * cell;
            const int y = grid ? (pose / 3) * cell : 0;
            icon.CopyRect(0, 0, std::min(icon.Width(), cell), std::min(icon.Height(), cell), sheet,
                          x, y);
        }
        ok = ok && sheet.SaveAs24(folder + (grid ? "sheet3x3.bmp" : "sheet9x1.bmp"));
    }
    return ok;
}

// SHP files of the other game: a unit of nine frames and a one-frame panel.
bool WriteShpFiles(const std::string& folder, const std::string& staging) {
    const std::string scratch = staging + "shp-scratch.s16";
    bool ok = true;
    for (const auto& [name, bytes] :
         {std::pair{"knight.shp", UnitS16(5)}, std::pair{"banner.shp", InterfaceS16(1)}}) {
        S16Image set;
        ok = ok && WriteScratchFile(scratch, bytes) && set.OpenFile(scratch) &&
             ExportIconSetAsShp(set, folder + name);
    }
    return ok;
}

}  // namespace

void PaintUnitIcon(PixelBuffer24& picture, int unit, int pose) {
    const int size = 32 + (unit % 3) * 8;
    Blank(picture, size, size, s16::kKeyColor);
    const double centre = (size - 1) / 2.0;
    const double radius = size * 0.3;
    const double angle = pose * 3.14159265358979 / 4;
    const ColorValue body = UnitColour(unit);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x - centre;
            const double dy = (y - centre) * (pose == 8 ? 2.0 : 1.0);  // a fallen unit lies flat
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d <= radius)
                picture.SetColor(x, y, d > radius - 1.5 ? MakeColor(20, 20, 20) : body);
        }
    }
    if (pose < 8) {  // a pointer in the direction the unit faces
        for (int step = -static_cast<int>(radius) / 2; step < size / 5; ++step) {
            const int px =
                static_cast<int>(std::lround(centre + (radius + step) * std::cos(angle)));
            const int py =
                static_cast<int>(std::lround(centre - (radius + step) * std::sin(angle)));
            for (int oy = -1; oy <= 1; ++oy) {
                for (int ox = -1; ox <= 1; ++ox) {
                    const int qx = px + ox, qy = py + oy;
                    if (qx >= 0 && qy >= 0 && qx < size && qy < size)
                        picture.SetColor(qx, qy, MakeColor(240, 220, 40));
                }
            }
        }
    }
}

void PaintInterfaceIcon(PixelBuffer24& picture, int item) {
    const int width = 48 + (item * 37) % 150;
    const int height = 24 + (item * 23) % 80;
    Blank(picture, width, height, 0);
    unsigned seed = 0x9E3779B9u * static_cast<unsigned>(item + 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int shade = 60 + 120 * x / width;
            if (item % 2 == 0) {
                picture.SetColor(
                    x, y, MakeColor(shade + (seed >> 28), 80 + (seed >> 27 & 31), 140 - y % 40));
            } else {
                picture.SetColor(
                    x, y, (y / 8) % 2 ? MakeColor(shade / 16 * 16, 90, 60) : MakeColor(30, 30, 90));
            }
        }
    }
}

bool WriteSampleData(const std::string& folderPath, int items, Progress& progress) {
    const std::string folder = AsFolder(folderPath);
    if (!MakeOutputFolder(folder)) return false;
    // The scratch files live in a folder of their own, made here and only here,
    // so that no file of the user's is ever truncated or removed with them.
    std::string staging = folder + ".sample-XXXXXX";
    if (::mkdtemp(staging.data()) == nullptr) {
        ReportCreationError(staging, errno);
        return false;
    }
    staging = AsFolder(staging);
    // One flush at the end for the files written in place; it also reaches the
    // bitmaps, which are written without a flush of their own.
    DurabilityBatch batch;
    const bool ok = WriteArchive(folder, staging, items, progress, batch) &&
                    WriteLooseFiles(folder, batch) && WriteShpFiles(folder, staging);
    std::error_code ignored;  // a scratch folder left behind harms nothing
    fs::remove_all(staging, ignored);
    return batch.MakeDurable() && ok;
}
