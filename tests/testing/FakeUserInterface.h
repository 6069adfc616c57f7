#pragma once
// A scripted UserInterface for tests: records every message and every file
// opened with the desktop, and answers with prepared replies.

#include <deque>
#include <string>
#include <vector>

#include "support/UserInterface.h"

class FakeUserInterface final : public UserInterface {
public:
    struct Message {
        MessageKind kind;
        std::string text;
    };

    // Installs itself as the current interface for its lifetime.
    FakeUserInterface();
    ~FakeUserInterface() override;

    int ShowMessage(MessageKind kind, const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    // Answers from `repeatedAnswers`, else from `yesNoAnswers`.
    RepeatedAnswer AskYesNoForAll(const std::string& text) override;
    std::string ChooseOpenFile(const FileChoice& choice) override;
    std::string ChooseSaveFile(const FileChoice& choice) override;
    std::vector<std::string> ChooseFiles(const FileChoice& choice) override;
    std::string ChooseFolder(const std::string& initialFolder, const std::string& caption) override;
    bool OpenWithDesktop(const std::string& path) override;
    void SetWaitCursor(bool on) override;

    std::vector<Message> messages;
    std::vector<std::string> questions;
    std::vector<std::string> opened;
    std::vector<FileChoice> fileChoices;
    std::deque<bool> yesNoAnswers;
    std::deque<RepeatedAnswer> repeatedAnswers;
    std::deque<std::string> fileAnswers;
    std::deque<std::vector<std::string>> multiFileAnswers;
    std::deque<std::string> folderAnswers;
    int waitDepth = 0;

    std::vector<std::string> Texts() const;
    std::vector<std::string> Errors() const;
    std::string LastText() const { return messages.empty() ? std::string() : messages.back().text; }
    void Clear() { messages.clear(); }
};
