#include "archive/ReportFile.h"

#include <cstdint>
#include <span>

#include "support/FileIdentity.h"
#include "support/Messages.h"
#include "support/SafeFileWriter.h"

bool WriteReportFile(const std::string& path, const std::string& text,
                     const std::vector<std::string>& archives) {
    for (const std::string& archive : archives) {
        if (IsSameFile(path, archive)) {
            ShowError("[%s] is an archive the report is about: the report is not written",
                      path.c_str());
            return false;
        }
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return WriteWholeFile(path, std::span<const std::uint8_t>(bytes, text.size()));
}
