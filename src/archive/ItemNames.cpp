#include "archive/ItemNames.h"

#include <algorithm>

#include "archive/DatEntry.h"
#include "support/Messages.h"

bool IsPlainItemName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("/\\:") == std::string::npos;
}

std::string ItemPathInFolder(const DatEntry& entry, const std::string& folder) {
    const std::string name = entry.Name();
    if (!IsPlainItemName(name)) {
        ShowError("[%s] is not a plain file name: the item is not written",
                  PrintableName(name).c_str());
        return {};
    }
    return folder + name;
}

bool IsPrintableAsIs(std::string_view name) {
    return std::all_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7F && c != '\\';
    });
}

std::string PrintableName(const std::string& name) {
    std::string shown;
    shown.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            shown += "\\\\";
        else if (c == '\n')
            shown += "\\n";
        else if (c == '\r')
            shown += "\\r";
        else if (c == '\t')
            shown += "\\t";
        else if (byte < 0x20 || byte == 0x7F)
            shown += FormatText("\\x%02X", byte);
        else
            shown += c;
    }
    return shown;
}
