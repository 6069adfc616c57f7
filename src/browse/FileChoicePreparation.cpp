#include "browse/FileChoicePreparation.h"

#include "support/Paths.h"
#include "support/Text.h"

namespace {

// Cuts a second absolute path glued to a first one ("C:\games\D:\x.dat"
// keeps "C:\games\").
std::string WithoutGluedPath(const std::string& text) {
    const std::size_t glued = text.find(":\\", 2);
    return glued == std::string::npos ? text : text.substr(0, glued - 1);
}

}  // namespace

PreparedFileChoice PrepareFileChoice(const FileChoice& choice, bool multipleSelection) {
    PreparedFileChoice prepared;
    prepared.folder = WithoutGluedPath(SplitPath(choice.initialPath, kPathFolder));
    PathPieces pieces;
    SplitPath(WithoutGluedPath(choice.initialPath), kPathWhole, &pieces);
    const std::string name = pieces.baseName.empty() ? "*" : pieces.baseName;
    const std::string extension = pieces.extension.empty() ? ".*" : pieces.extension;
    prepared.initialPath = prepared.folder + name + extension;
    prepared.defaultExtension =
        choice.defaultExtension.empty() ? extension : choice.defaultExtension;
    prepared.title = choice.title.empty() ? "Select File" : choice.title;
    if (multipleSelection) prepared.title += "  * Can use Shift/Ctrl";
    prepared.filter = choice.filter.empty() ? "All files (*.*)|*.*|" : choice.filter;
    return prepared;
}

std::string ToQtFilter(const std::string& filter) {
    std::string result;
    std::size_t at = 0;
    while (at < filter.size()) {
        const std::size_t bar = filter.find('|', at);
        if (bar == std::string::npos) break;
        const std::size_t end = filter.find('|', bar + 1);
        std::string name = Trimmed(filter.substr(at, bar - at));
        const std::string pattern =
            filter.substr(bar + 1, (end == std::string::npos ? filter.size() : end) - bar - 1);
        // A name that shows its pattern already keeps only its words.
        const std::size_t bracket = name.rfind(" (");
        if (bracket != std::string::npos && name.back() == ')') name.erase(bracket);
        std::string patterns = pattern;
        if (ToUpper(pattern) != pattern) patterns += " " + ToUpper(pattern);
        if (!result.empty()) result += ";;";
        result += name + " (" + patterns + ")";
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return result;
}
