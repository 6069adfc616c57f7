#include "cli/ConsoleUserInterface.h"

namespace {

// Message texts carry their own layout ("\n", "\t", padding); on a console
// only the surrounding blank lines are dropped.
std::string WithoutBlankLines(const std::string& text) {
    const auto first = text.find_first_not_of(" \n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \n");
    return text.substr(first, last - first + 1);
}

}  // namespace

int ConsoleUserInterface::ShowMessage(MessageKind kind, const std::string& text) {
    if (kind == MessageKind::Error) err_ << "error: ";
    err_ << WithoutBlankLines(text) << '\n';
    return 1;
}

bool ConsoleUserInterface::AskYesNo(const std::string&) {
    return answer_;
}

bool ConsoleUserInterface::OpenWithDesktop(const std::string& path) {
    err_ << "wrote " << path << '\n';
    return true;
}
