#include "support/UserInterface.h"

namespace {

class SilentUserInterface final : public UserInterface {
public:
    int ShowMessage(MessageKind, const std::string&) override { return 1; }
    bool AskYesNo(const std::string&) override { return false; }
    std::string ChooseOpenFile(const FileChoice&) override { return {}; }
    std::string ChooseSaveFile(const FileChoice&) override { return {}; }
    std::vector<std::string> ChooseFiles(const FileChoice&) override { return {}; }
    std::string ChooseFolder(const std::string&, const std::string&) override { return {}; }
    bool OpenWithDesktop(const std::string&) override { return false; }
    void SetWaitCursor(bool) override {}
};

SilentUserInterface silentInterface;
UserInterface* current = &silentInterface;

}  // namespace

UserInterface& CurrentUserInterface() {
    return *current;
}

void InstallUserInterface(UserInterface* ui) {
    current = ui ? ui : &silentInterface;
}
