// The item report and the comparison of two archives, written as text files
// and shown.
#include <algorithm>
#include <vector>

#include "archive/ArchiveComparison.h"
#include "archive/DatArchive.h"
#include "archive/DatDirectory.h"
#include "archive/DatFormat.h"
#include "archive/ItemNames.h"
#include "archive/ReportFile.h"
#include "support/ByteIo.h"
#include "support/DataFile.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/UserInterface.h"

namespace {

// Writes the text and shows it; reports a file that cannot be written.
bool WriteTextFile(const std::string& path, const std::string& text,
                   const std::vector<std::string>& archives) {
    if (!WriteReportFile(path, text, archives)) return false;
    CurrentUserInterface().ShowTextFile(path);
    return true;
}

int CompareNameTexts(const std::string& a, const std::string& b) {
    char x[dat::kNameSize + 1] = {};
    char y[dat::kNameSize + 1] = {};
    a.copy(x, dat::kNameSize);
    b.copy(y, dat::kNameSize);
    return dat::CompareNames(x, y);
}

}  // namespace

std::string DatArchive::ItemReport(bool withIcons) const {
    std::string text = FormatText("*** %s.dat\n", SplitPath(archivePath_, kPathBaseName).c_str());
    text += FormatText("*** %d items\n", ItemCount());
    text += "//////////////\n";
    for (const DatEntry& entry : directory_) {
        const std::string name = PrintableName(entry.Name());
        text += withIcons ? FormatText("%-16s %d icons\n", name.c_str(), entry.icons)
                          : FormatText("%s\n", name.c_str());
    }
    return text;
}

bool DatArchive::WriteReport(const std::string& reportPath, bool withIcons) {
    return WriteTextFile(reportPath, ItemReport(withIcons), {archivePath_});
}

bool DatArchive::CompareArchives(const std::string& otherPath, const std::string& reportPath,
                                 bool differencesOnly) {
    const std::optional<std::string> text = ComparisonReport(otherPath, differencesOnly);
    return text && WriteTextFile(reportPath, *text, {archivePath_, otherPath});
}

// Walks both directories in the archives' own name order, so that an item in
// both is always found as such.
std::optional<ArchiveComparison> DatArchive::CompareWith(const std::string& otherPath) const {
    DataFile other;
    if (!other.Open(otherPath, "rb", false)) {
        ReportMissingFile(otherPath);
        return std::nullopt;
    }
    WaitCursor wait;
    std::vector<std::string> otherNames;
    if (!DirectoryWasRead(ReadDatItemNames(other, otherNames), otherPath, other))
        return std::nullopt;
    ArchiveComparison result;
    result.firstName = SplitPath(archivePath_, kPathBaseName);
    result.secondName = SplitPath(otherPath, kPathBaseName);
    result.firstCount = ItemCount();
    result.secondCount = static_cast<int>(otherNames.size());
    std::size_t i = 0;
    auto mineMissing = [&](const std::string& name) {
        result.items.push_back({name, ComparedPlace::kOnlyFirst});
        ++result.onlyFirst;
    };
    for (const std::string& b : otherNames) {
        while (i < directory_.size() && CompareNameTexts(directory_[i].Name(), b) < 0)
            mineMissing(directory_[i++].Name());
        if (i < directory_.size() && CompareNameTexts(directory_[i].Name(), b) == 0) {
            result.items.push_back({directory_[i].Name(), ComparedPlace::kBoth});
            ++result.inBoth;
            ++i;
        } else {
            result.items.push_back({b, ComparedPlace::kOnlySecond});
            ++result.onlySecond;
        }
    }
    while (i < directory_.size())
        mineMissing(directory_[i++].Name());
    return result;
}

std::optional<std::string> DatArchive::ComparisonReport(const std::string& otherPath,
                                                        bool differencesOnly) const {
    const std::optional<ArchiveComparison> comparison = CompareWith(otherPath);
    if (!comparison) return std::nullopt;
    return ComparisonText(*comparison, differencesOnly);
}

std::string ComparisonText(const ArchiveComparison& c, bool differencesOnly) {
    const char* mine = c.firstName.c_str();
    const char* theirs = c.secondName.c_str();
    std::string text = "*** Comparing:\n";
    text += FormatText("*   %s (%d items) \n", mine, c.firstCount);
    text += FormatText("*   %s (%d items) \n", theirs, c.secondCount);
    text += "//////////////\n";
    for (const ComparedItem& item : c.items) {
        const std::string name = PrintableName(item.name);
        switch (item.place) {
            case ComparedPlace::kBoth:
                if (!differencesOnly) text += FormatText("%-15s ... = \n", name.c_str());
                break;
            case ComparedPlace::kOnlyFirst:
                text += FormatText("%-15s ... not in %s \n", name.c_str(), theirs);
                break;
            case ComparedPlace::kOnlySecond:
                text += FormatText("%15s ... not in %s \n", name.c_str(), mine);
                break;
        }
    }
    text += "\n*** SUMMARY ***\n";
    text += FormatText("*** %d items in both files\n", c.inBoth);
    text += FormatText("*** %d items not in %s \n", c.onlyFirst, theirs);
    text += FormatText("*** %d items not in %s \n", c.onlySecond, mine);
    return text;
}
