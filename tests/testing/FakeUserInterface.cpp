#include "FakeUserInterface.h"

namespace {

template <typename T>
T Next(std::deque<T>& answers) {
    if (answers.empty()) return T{};
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace

FakeUserInterface::FakeUserInterface() {
    InstallUserInterface(this);
}
FakeUserInterface::~FakeUserInterface() {
    InstallUserInterface(nullptr);
}

int FakeUserInterface::ShowMessage(MessageKind kind, const std::string& text) {
    messages.push_back({kind, text});
    return 1;
}

bool FakeUserInterface::AskYesNo(const std::string& text) {
    questions.push_back(text);
    return Next(yesNoAnswers);
}

RepeatedAnswer FakeUserInterface::AskYesNoForAll(const std::string& text) {
    if (repeatedAnswers.empty()) return AskYesNo(text) ? RepeatedAnswer::kYes : RepeatedAnswer::kNo;
    questions.push_back(text);
    return Next(repeatedAnswers);
}

std::string FakeUserInterface::ChooseOpenFile(const FileChoice& choice) {
    fileChoices.push_back(choice);
    return Next(fileAnswers);
}

std::string FakeUserInterface::ChooseSaveFile(const FileChoice& choice) {
    fileChoices.push_back(choice);
    return Next(fileAnswers);
}

std::vector<std::string> FakeUserInterface::ChooseFiles(const FileChoice& choice) {
    fileChoices.push_back(choice);
    return Next(multiFileAnswers);
}

std::string FakeUserInterface::ChooseFolder(const std::string&, const std::string&) {
    return Next(folderAnswers);
}

bool FakeUserInterface::OpenWithDesktop(const std::string& path) {
    opened.push_back(path);
    return true;
}

void FakeUserInterface::SetWaitCursor(bool on) {
    waitDepth += on ? 1 : -1;
}

std::vector<std::string> FakeUserInterface::Texts() const {
    std::vector<std::string> texts;
    for (const Message& m : messages)
        texts.push_back(m.text);
    return texts;
}

std::vector<std::string> FakeUserInterface::Errors() const {
    std::vector<std::string> texts;
    for (const Message& m : messages) {
        if (m.kind == MessageKind::Error) texts.push_back(m.text);
    }
    return texts;
}
