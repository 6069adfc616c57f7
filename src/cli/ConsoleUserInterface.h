#pragma once
// The command line's UserInterface: messages go to the error stream, and it
// never asks; the answers it gives come from the command's options.

#include <ostream>

#include "support/UserInterface.h"

class ConsoleUserInterface final : public UserInterface {
public:
    explicit ConsoleUserInterface(std::ostream& err) : err_(err) {}

    int ShowMessage(MessageKind kind, const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::string ChooseOpenFile(const FileChoice&) override { return {}; }
    std::string ChooseSaveFile(const FileChoice&) override { return {}; }
    std::vector<std::string> ChooseFiles(const FileChoice&) override { return {}; }
    std::string ChooseFolder(const std::string&, const std::string&) override { return {}; }
    bool OpenWithDesktop(const std::string& path) override;
    void SetWaitCursor(bool) override {}

    void SetAnswer(bool yes) { answer_ = yes; }

private:
    std::ostream& err_;
    bool answer_ = false;
};
