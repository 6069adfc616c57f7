#pragma once
// Small text helpers: letter case, trimming and cutting at a marker. Letters
// are compared as in the "C" locale, byte by byte, whatever locale the
// program runs in (the window's toolkit sets the user's), so that a name
// matches the same items everywhere.

#include <string>

// 'a' to 'z' upper-cased; every other byte as it is.
constexpr char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string ToUpper(std::string text);
// The text without spaces at either end.
std::string Trimmed(const std::string& text);
bool EqualsNoCase(const std::string& a, const std::string& b);
// The part of `text` after the first `marker`; empty when there is none.
std::string TextAfter(const std::string& text, const std::string& marker);
