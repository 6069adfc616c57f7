#pragma once
// Shell-style patterns of item names, matched in any letter case: `*` any
// run of characters, `?` one character, `[...]` one character of a set
// (`a-z` ranges; `!` or `^` first for any character not in it).

#include <string>
#include <vector>

#include "archive/DatEntry.h"

// True when `text` holds a `*`, `?` or `[`, and so is read as a pattern.
bool IsNamePattern(const std::string& text);
// True when the whole of `name` matches `pattern` (letter case aside). A `[`
// without its closing `]` stands for itself.
bool MatchesNamePattern(const std::string& pattern, const std::string& name);
// The indexes of the entries whose names match `pattern`, in directory order.
std::vector<int> MatchingItems(const std::vector<DatEntry>& entries, const std::string& pattern);
