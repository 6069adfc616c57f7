#pragma once
// The seam through which the core reaches the person at the screen: messages,
// questions, file choices, the desktop's "open" and the wait cursor.

#include <string>
#include <vector>

enum class MessageKind { Info, Error };

// The answers to a question asked for each of many items; the "to all" ones
// hold for the rest of them.
enum class RepeatedAnswer { kYes, kNo, kYesToAll, kNoToAll };

// What a file dialog is asked for: a prepared initial path (folder, folder + name
// or folder + pattern), a title, a filter ("Name|*.ext|") and a default extension.
struct FileChoice {
    std::string initialPath;
    std::string title;
    std::string filter;
    std::string defaultExtension;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Shows a modal message; returns the button pressed (1 = OK).
    virtual int ShowMessage(MessageKind kind, const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& text) = 0;
    // A question that repeats for the items of one command, offering answers
    // for all of them; where the interface has none, a plain yes or no.
    virtual RepeatedAnswer AskYesNoForAll(const std::string& text) {
        return AskYesNo(text) ? RepeatedAnswer::kYes : RepeatedAnswer::kNo;
    }
    // Each returns an empty result when the choice is cancelled.
    virtual std::string ChooseOpenFile(const FileChoice& choice) = 0;
    virtual std::string ChooseSaveFile(const FileChoice& choice) = 0;
    virtual std::vector<std::string> ChooseFiles(const FileChoice& choice) = 0;
    virtual std::string ChooseFolder(const std::string& initialFolder,
                                     const std::string& caption) = 0;
    // Opens a file with the desktop's default program; false when nothing was opened.
    virtual bool OpenWithDesktop(const std::string& path) = 0;
    // Shows a text file the program wrote (a report, an error log); where the
    // interface has no text window of its own, the desktop's program opens it.
    virtual bool ShowTextFile(const std::string& path) { return OpenWithDesktop(path); }
    virtual void SetWaitCursor(bool on) = 0;
};

// The one current interface; a silent one that answers "no" to everything
// is current until the program installs its own.
UserInterface& CurrentUserInterface();
// Installs `ui` (not owned) as the current interface; null restores the silent one.
void InstallUserInterface(UserInterface* ui);

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
public:
    WaitCursor() { CurrentUserInterface().SetWaitCursor(true); }
    ~WaitCursor() { CurrentUserInterface().SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
