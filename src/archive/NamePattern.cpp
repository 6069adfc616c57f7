#include "archive/NamePattern.h"

#include "support/Text.h"

namespace {

// Whether `c` is in the set that starts just after the `[` at `p`; `end` gets
// the position after its `]`, or stays npos when the set is not closed.
bool InSet(const std::string& pattern, std::size_t p, char c, std::size_t& end) {
    end = std::string::npos;
    const bool negated = p < pattern.size() && (pattern[p] == '!' || pattern[p] == '^');
    if (negated) ++p;
    bool found = false;
    for (std::size_t i = p; i < pattern.size(); ++i) {
        if (pattern[i] == ']' && i > p) {
            end = i + 1;
            return found != negated;
        }
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            found = found || (pattern[i] <= c && c <= pattern[i + 2]);
            i += 2;
        } else {
            found = found || pattern[i] == c;
        }
    }
    return false;
}

}  // namespace

bool IsNamePattern(const std::string& text) {
    return text.find_first_of("*?[") != std::string::npos;
}

bool MatchesNamePattern(const std::string& patternText, const std::string& nameText) {
    const std::string pattern = ToUpper(patternText);
    const std::string name = ToUpper(nameText);
    std::size_t p = 0, n = 0;
    // Where the last `*` was, and the name position it now stands for the run up to.
    std::size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
            continue;
        }
        if (p < pattern.size()) {
            std::size_t next = p + 1;
            bool matched = pattern[p] == '?' || pattern[p] == name[n];
            if (pattern[p] == '[') {
                std::size_t end = 0;
                const bool inSet = InSet(pattern, p + 1, name[n], end);
                matched = end == std::string::npos ? name[n] == '[' : inSet;
                if (end != std::string::npos) next = end;
            }
            if (matched) {
                p = next;
                ++n;
                continue;
            }
        }
        if (starP == std::string::npos) return false;
        p = starP + 1;  // the `*` takes one more character
        n = ++starN;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<int> MatchingItems(const std::vector<DatEntry>& entries, const std::string& pattern) {
    std::vector<int> found;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (MatchesNamePattern(pattern, entries[i].Name())) found.push_back(static_cast<int>(i));
    }
    return found;
}
