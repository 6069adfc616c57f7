#include "archive/DatEntry.h"

#include <algorithm>

#include "support/Paths.h"
#include "support/Text.h"

std::string DatEntry::Name() const {
    const auto end = std::find(name.begin(), name.end(), '\0');
    return std::string(name.begin(), end);
}

void DatEntry::SetName(const std::string& text) {
    name.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
}

bool IsS16Name(const std::string& name) {
    return ToUpper(name).find("S16") != std::string::npos;
}

bool IsPlainItemName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("/\\:") == std::string::npos;
}
