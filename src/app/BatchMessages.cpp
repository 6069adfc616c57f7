#include "app/BatchMessages.h"

#include "app/TextWindow.h"

BatchMessages::BatchMessages(std::string title, QWidget* parent)
    : title_(std::move(title)), parent_(parent), inner_(&CurrentUserInterface()) {
    InstallUserInterface(this);
}

BatchMessages::~BatchMessages() {
    Restore();
}

void BatchMessages::Restore() {
    if (!installed_) return;
    installed_ = false;
    InstallUserInterface(inner_);
}

void BatchMessages::Finish(const std::string& heading, const std::string& folder) {
    Restore();
    if (texts_.size() == 1) {
        inner_->ShowMessage(kind_, texts_.front());
    } else if (texts_.size() > 1) {
        std::string all = heading.empty() ? std::string() : heading + "\n\n";
        std::string cancelled;
        for (const std::string& text : texts_) {
            // One line per message keeps the list readable and easy to search.
            std::string line = text;
            for (char& c : line) {
                if (c == '\n') c = ' ';
            }
            const std::size_t first = line.find_first_not_of(' ');
            if (first == std::string::npos) continue;
            line = line.substr(first, line.find_last_not_of(' ') - first + 1);
            // A cancellation is not one of the items: it closes the list.
            if (line.starts_with("Cancelled:"))
                cancelled += line + "\n";
            else
                all += line + "\n";
        }
        if (!cancelled.empty()) all += "\n" + cancelled;
        ShowTextWindow(QString::fromStdString(title_), QString::fromStdString(all), {}, parent_)
            ->SetSaveFolder(folder);
    }
    texts_.clear();
}

int BatchMessages::ShowMessage(MessageKind kind, const std::string& text) {
    if (kind == MessageKind::Error) kind_ = MessageKind::Error;
    texts_.push_back(text);
    return 1;
}

bool BatchMessages::AskYesNo(const std::string& text) {
    if (answerForAll_) return *answerForAll_;
    switch (inner_->AskYesNoForAll(text)) {
        case RepeatedAnswer::kYesToAll:
            answerForAll_ = true;
            return true;
        case RepeatedAnswer::kNoToAll:
            answerForAll_ = false;
            return false;
        case RepeatedAnswer::kYes:
            return true;
        case RepeatedAnswer::kNo:
            return false;
    }
    return false;
}

RepeatedAnswer BatchMessages::AskYesNoForAll(const std::string& text) {
    return AskYesNo(text) ? RepeatedAnswer::kYes : RepeatedAnswer::kNo;
}

std::string BatchMessages::ChooseOpenFile(const FileChoice& choice) {
    return inner_->ChooseOpenFile(choice);
}
std::string BatchMessages::ChooseSaveFile(const FileChoice& choice) {
    return inner_->ChooseSaveFile(choice);
}
std::vector<std::string> BatchMessages::ChooseFiles(const FileChoice& choice) {
    return inner_->ChooseFiles(choice);
}
std::string BatchMessages::ChooseFolder(const std::string& initialFolder,
                                        const std::string& caption) {
    return inner_->ChooseFolder(initialFolder, caption);
}
bool BatchMessages::OpenWithDesktop(const std::string& path) {
    return inner_->OpenWithDesktop(path);
}
bool BatchMessages::ShowTextFile(const std::string& path) {
    return inner_->ShowTextFile(path);
}
void BatchMessages::SetWaitCursor(bool on) {
    inner_->SetWaitCursor(on);
}
