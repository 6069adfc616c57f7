#pragma once
// The messages of one command that works through many items (an unpack, an
// extraction): while it runs they are gathered instead of shown one box per
// item, a repeated question offers answers for all items, and at the end the
// user sees one summary.

#include <optional>
#include <string>
#include <vector>

#include "support/UserInterface.h"

class QWidget;

class BatchMessages final : public UserInterface {
public:
    // Stands in for the current interface until Finish or destruction.
    BatchMessages(std::string title, QWidget* parent = nullptr);
    ~BatchMessages() override;
    BatchMessages(const BatchMessages&) = delete;
    BatchMessages& operator=(const BatchMessages&) = delete;

    // Gives the interface back and shows what was gathered: one message as
    // it is, several in a text window under `heading` (when not empty) whose
    // Save starts in `folder`, where the batch wrote.
    void Finish(const std::string& heading, const std::string& folder = {});
    const std::vector<std::string>& Gathered() const { return texts_; }

    int ShowMessage(MessageKind kind, const std::string& text) override;
    // Asked with answers for all; such an answer is given to the questions after it.
    bool AskYesNo(const std::string& text) override;
    RepeatedAnswer AskYesNoForAll(const std::string& text) override;
    std::string ChooseOpenFile(const FileChoice& choice) override;
    std::string ChooseSaveFile(const FileChoice& choice) override;
    std::vector<std::string> ChooseFiles(const FileChoice& choice) override;
    std::string ChooseFolder(const std::string& initialFolder, const std::string& caption) override;
    bool OpenWithDesktop(const std::string& path) override;
    bool ShowTextFile(const std::string& path) override;
    void SetWaitCursor(bool on) override;

private:
    void Restore();

    std::string title_;
    QWidget* parent_;
    UserInterface* inner_;
    bool installed_ = true;
    std::vector<std::string> texts_;
    MessageKind kind_ = MessageKind::Info;  // Error once any error was gathered
    std::optional<bool> answerForAll_;
};
