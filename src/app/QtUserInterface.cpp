#include "app/QtUserInterface.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "app/TextWindow.h"
#include "browse/FileDialog.h"
#include "browse/FolderBrowserDialog.h"

int QtUserInterface::ShowMessage(MessageKind kind, const std::string& text) {
    QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    kApplicationTitle, QString::fromStdString(text), QMessageBox::Ok, parent_);
    return box.exec() == QMessageBox::Ok ? 1 : 0;
}

bool QtUserInterface::AskYesNo(const std::string& text) {
    return QMessageBox::question(parent_, kApplicationTitle, QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

RepeatedAnswer QtUserInterface::AskYesNoForAll(const std::string& text) {
    switch (QMessageBox::question(
        parent_, kApplicationTitle, QString::fromStdString(text),
        QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::NoToAll,
        QMessageBox::No)) {
        case QMessageBox::Yes:
            return RepeatedAnswer::kYes;
        case QMessageBox::YesToAll:
            return RepeatedAnswer::kYesToAll;
        case QMessageBox::NoToAll:
            return RepeatedAnswer::kNoToAll;
        default:
            return RepeatedAnswer::kNo;
    }
}

std::string QtUserInterface::ChooseOpenFile(const FileChoice& choice) {
    return SelectFile(choice, true, parent_);
}

std::string QtUserInterface::ChooseSaveFile(const FileChoice& choice) {
    return SelectSaveFile(choice, parent_);
}

std::vector<std::string> QtUserInterface::ChooseFiles(const FileChoice& choice) {
    return SelectFiles(choice, parent_);
}

std::string QtUserInterface::ChooseFolder(const std::string& initialFolder,
                                          const std::string& caption) {
    return BrowseFolder(initialFolder, caption, settings_, parent_);
}

bool QtUserInterface::OpenWithDesktop(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtUserInterface::ShowTextFile(const std::string& path) {
    return ShowTextFileWindow(path, parent_) != nullptr;
}

void QtUserInterface::SetWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}
