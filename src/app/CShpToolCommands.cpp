// The commands of the S16 Tool: editing the icons of one S16 file and saving
// them as SHP.
#include <QListWidget>
#include <algorithm>

#include "app/CAppDoc.h"
#include "app/CShpTool.h"
#include "app/ChangeTracker.h"
#include "app/CommandIds.h"
#include "app/IconPanel.h"
#include "shp/ShpExport.h"
#include "sprite/S16Editor.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/UserInterface.h"

namespace {

UserInterface& Ui() {
    return CurrentUserInterface();
}

}  // namespace

bool CShpTool::Handles(int command) const {
    return panel_->Handles(command) || command == kCmdPreviousItem || command == kCmdNextItem;
}

CommandState CShpTool::StateOf(int command) const {
    return panel_->StateOf(command, {HasFiles(), false});
}

void CShpTool::Run(int command) {
    if (command == kCmdPreviousItem || command == kCmdNextItem) {
        // The next file of the folder, as the arrow keys in the file list.
        if (HasFiles())
            files_->setCurrentRow(std::clamp(
                files_->currentRow() + (command == kCmdNextItem ? 1 : -1), 0, files_->count() - 1));
    } else {
        panel_->Run(command);
    }
    emit StateChanged();
}

void CShpTool::ChooseFolder() {
    const std::string folder = Ui().ChooseFolder(folder_, "Select new folder");
    if (folder.empty()) return;
    doc_.Settings().s16Folder = folder;
    folder_ = folder;
    FillFileList();
}

void CShpTool::InsertIcon(bool append) {
    if (!HasFiles() || (!append && icons_->currentRow() < 0)) return;
    const int n = append ? 0 : icons_->currentRow() + 1;
    AppSettings& settings = doc_.Settings();
    const std::string bitmap = Ui().ChooseOpenFile(
        {settings.bmpFolder + "*.*", "Select BMP or PNG file",
         "Pictures (*.bmp;*.png)|*.bmp *.png|BMP files|*.bmp|PNG files|*.png|", ".bmp"});
    if (bitmap.empty()) return;
    settings.bmpFolder = SplitPath(bitmap, kPathFolder);
    ChangeTracker::Rewrite rewrite(doc_.Changes(), currentPath_);
    if (!rewrite) return;
    if (InsertIconFromBmp(image_, bitmap, n)) {
        rewrite.Done(S16BackupPath(currentPath_),
                     append ? QString("Append icon") : QString("Insert icon %1").arg(n));
    }
    image_.OpenFile(currentPath_);
    FillIconList(append ? panel_->IconNumber() : n);
}

void CShpTool::RemoveSelectedIcon() {
    const int row = files_->currentRow();
    const int index = icons_->currentRow();
    if (index < 0) return;
    const int number = index + 1;
    // Removing rewrites the user's file: it is confirmed first.
    if (!AskYesNo("Remove icon %d from %s ?", number, currentPath_.c_str())) return;
    ChangeTracker::Rewrite rewrite(doc_.Changes(), currentPath_);
    if (!rewrite) return;
    if (!RemoveIcon(image_, number)) {
        image_.OpenFile(currentPath_);
        return;
    }
    rewrite.Done(S16BackupPath(currentPath_), QString("Remove icon %1").arg(number));
    FillFileList();
    files_->setCurrentRow(row);
    FillIconList(index + 1);
}

void CShpTool::SaveAsShp() {
    if (image_.IconCount() < 1) return;
    const std::string proposed =
        FormatText("%s%s.shp", doc_.Settings().helmarFolder.c_str(), BaseName().c_str());
    const std::string path =
        Ui().ChooseSaveFile({proposed, "SHP file to save", "Files (*.SHP)|*.shp|", ".shp"});
    if (path.empty()) return;
    ExportIconSetAsShpAndTell(image_, path);
    panel_->Draw();
}
