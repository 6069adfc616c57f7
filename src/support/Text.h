#pragma once
// Small text helpers: letter case, trimming and cutting at a marker. Letters
// are compared in the "C" locale, byte by byte.

#include <string>

std::string ToUpper(std::string text);
// The text without spaces at either end.
std::string Trimmed(const std::string& text);
bool EqualsNoCase(const std::string& a, const std::string& b);
// The part of `text` after the first `marker`; empty when there is none.
std::string TextAfter(const std::string& text, const std::string& marker);
