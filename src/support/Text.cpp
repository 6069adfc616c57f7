#include "support/Text.h"

std::string ToUpper(std::string text) {
    for (char& c : text)
        c = UpperAscii(c);
    return text;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return ToUpper(a) == ToUpper(b);
}

std::string TextAfter(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    return at == std::string::npos ? std::string() : text.substr(at + marker.size());
}
