#pragma once
// A window of the program that shows a text (a report, an error log, the
// failures of a batch) with Save and Copy, and for a file a button that opens
// it with the desktop's program. It does not block the main window.

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

class TextWindow : public QDialog {
    Q_OBJECT
public:
    // `path` is the file the text was read from; empty for a text of its own.
    TextWindow(const QString& title, const QString& text, const std::string& path,
               QWidget* parent = nullptr);

    QString Text() const;
    // Asks for a file and writes the text there.
    bool Save();
    // Where Save starts when the text has no file of its own.
    void SetSaveFolder(const std::string& folder) { saveFolder_ = folder; }
    // The whole text to the clipboard.
    void Copy();
    bool OpenWithDesktop();
    // The button that hands the file to the desktop; null for a text of its own.
    QPushButton* DesktopButton() const { return desktop_; }

private:
    std::string path_;
    std::string saveFolder_;
    QPlainTextEdit* text_;
    QPushButton* desktop_;
};

// Shows a text in a new TextWindow, deleted when closed; returns it.
TextWindow* ShowTextWindow(const QString& title, const QString& text, const std::string& path = {},
                           QWidget* parent = nullptr);
// Shows a text file in a TextWindow; reports a file that cannot be read.
TextWindow* ShowTextFileWindow(const std::string& path, QWidget* parent = nullptr);
