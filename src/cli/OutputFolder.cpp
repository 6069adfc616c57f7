#include "cli/OutputFolder.h"

#include <filesystem>
#include <system_error>

#include "support/Messages.h"

bool MakeOutputFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error) return true;
    ReportCreationError(folder, error.value());
    return false;
}
