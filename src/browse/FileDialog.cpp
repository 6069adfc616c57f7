#include "browse/FileDialog.h"

#include <QFileDialog>

#include "browse/FileChoicePreparation.h"
#include "support/Paths.h"

namespace {

QStringList RunFileDialog(const FileChoice& choice, QFileDialog::AcceptMode mode,
                          QFileDialog::FileMode fileMode, QWidget* parent) {
    const PreparedFileChoice prepared =
        PrepareFileChoice(choice, fileMode == QFileDialog::ExistingFiles);
    QFileDialog dialog(parent, QString::fromStdString(prepared.title),
                       QString::fromStdString(prepared.folder),
                       QString::fromStdString(ToQtFilter(prepared.filter)));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(fileMode);
    if (prepared.defaultExtension.size() > 1 && prepared.defaultExtension != ".*") {
        dialog.setDefaultSuffix(QString::fromStdString(prepared.defaultExtension.substr(1)));
    }
    // A proposed name is offered; a pattern such as "*.*" only names the filter.
    const std::string name = SplitPath(prepared.initialPath, kPathFileName);
    if (name.find('*') == std::string::npos) dialog.selectFile(QString::fromStdString(name));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

}  // namespace

std::string SelectFile(const FileChoice& choice, bool open, QWidget* parent) {
    const QStringList files =
        RunFileDialog(choice, open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave,
                      open ? QFileDialog::ExistingFile : QFileDialog::AnyFile, parent);
    return files.isEmpty() ? std::string() : files.front().toStdString();
}

std::string SelectSaveFile(const FileChoice& choice, QWidget* parent) {
    return SelectFile(choice, false, parent);
}

std::vector<std::string> SelectFiles(const FileChoice& choice, QWidget* parent) {
    std::vector<std::string> paths;
    for (const QString& file :
         RunFileDialog(choice, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles, parent)) {
        paths.push_back(file.toStdString());
    }
    return paths;
}
