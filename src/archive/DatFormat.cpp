#include "archive/DatFormat.h"

#include "support/Paths.h"

namespace {

unsigned char Folded(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

int dat::CompareNames(const char* a, const char* b) {
    for (int i = 0; i < kNameSize; ++i) {
        const unsigned char x = Folded(a[i]);
        const unsigned char y = Folded(b[i]);
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}

std::string dat::BackupPath(const std::string& archivePath) {
    return SplitPath(archivePath, kPathWithoutExt) + "_back.dat";
}
