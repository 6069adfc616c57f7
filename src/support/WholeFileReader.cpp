#include "support/WholeFileReader.h"

#include "support/DataFile.h"
#include "support/Messages.h"
#include "support/Paths.h"

bool ReadWholeFile(const std::string& path, std::uint64_t limit, std::string& text) {
    if (!Exists(path)) {
        ReportMissingFile(path);
        return false;
    }
    DataFile file;
    if (!file.Open(path, "rb", false)) {
        ReportOpenError(path, file.Error());
        return false;
    }
    const std::uint64_t length = file.Length();
    if (file.Error() != 0) {
        ReportReadError(path, file.Error());
        return false;
    }
    if (length > limit) {
        ShowError("[%s] is %llu bytes; a file of this kind has at most %llu", path.c_str(),
                  static_cast<unsigned long long>(length), static_cast<unsigned long long>(limit));
        return false;
    }
    text.assign(static_cast<std::size_t>(length), '\0');
    if (length > 0 && !file.ReadAt(0, text.data(), text.size())) {
        ReportReadError(path, file.Error());
        return false;
    }
    return true;
}
