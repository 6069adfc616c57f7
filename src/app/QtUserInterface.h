#pragma once
// The window program's UserInterface: message boxes with the application's
// title, Qt's file dialog, the folder browser, the text window, the desktop
// and the wait cursor.

#include "support/UserInterface.h"

class QWidget;
class SettingsStore;

class QtUserInterface final : public UserInterface {
public:
    explicit QtUserInterface(SettingsStore& settings) : settings_(settings) {}

    void SetParent(QWidget* parent) { parent_ = parent; }

    int ShowMessage(MessageKind kind, const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    RepeatedAnswer AskYesNoForAll(const std::string& text) override;
    std::string ChooseOpenFile(const FileChoice& choice) override;
    std::string ChooseSaveFile(const FileChoice& choice) override;
    std::vector<std::string> ChooseFiles(const FileChoice& choice) override;
    std::string ChooseFolder(const std::string& initialFolder, const std::string& caption) override;
    bool OpenWithDesktop(const std::string& path) override;
    // In a text window of the program, which can also hand it to the desktop.
    bool ShowTextFile(const std::string& path) override;
    void SetWaitCursor(bool on) override;

private:
    SettingsStore& settings_;
    QWidget* parent_ = nullptr;
};

inline constexpr const char* kApplicationTitle = "Varnok Dat Tool";
