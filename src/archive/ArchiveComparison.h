#pragma once
// The comparison of two archives by item name: every name in the order both
// directories are sorted in, with where it is, and the counts of the summary.

#include <string>
#include <vector>

enum class ComparedPlace { kBoth, kOnlyFirst, kOnlySecond };

struct ComparedItem {
    std::string name;  // upper-cased, as stored
    ComparedPlace place = ComparedPlace::kBoth;
};

struct ArchiveComparison {
    std::string firstName;  // the archives' base names, as the report shows them
    std::string secondName;
    int firstCount = 0;
    int secondCount = 0;
    std::vector<ComparedItem> items;
    int inBoth = 0;
    int onlyFirst = 0;
    int onlySecond = 0;
};

// The comparison report's text; `differencesOnly` leaves out the items in both.
std::string ComparisonText(const ArchiveComparison& comparison, bool differencesOnly);
