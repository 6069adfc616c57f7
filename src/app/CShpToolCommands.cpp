// The commands of the S16 Tool: editing and saving the icons of one S16 file.
#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>

#include "app/CAppDoc.h"
#include "app/CShpTool.h"
#include "app/CommandIds.h"
#include "app/PictureArea.h"
#include "shp/ShpExport.h"
#include "sprite/IconExport.h"
#include "sprite/IconRenderer.h"
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
    if (ZoomOfCommand(command) != 0) return true;
    switch (command) {
        case kCmdCollage:
        case kCmdMirror:
        case kCmdSaveIcon:
        case kCmdSaveAllIcons:
            return true;
        default:
            return false;
    }
}

CommandState CShpTool::StateOf(int command) const {
    if (ZoomOfCommand(command) != 0) return ZoomCommandState(command, zoom_, !Collage());
    switch (command) {
        case kCmdCollage:
            return {true, Collage()};
        case kCmdMirror:
            return {true, mirror_->isChecked()};
        default:
            return {HasFiles(), false};
    }
}

void CShpTool::Run(int command) {
    if (const int zoom = ZoomOfCommand(command); zoom != 0) {
        zoom_ = zoom;
        Redraw();
    }
    switch (command) {
        case kCmdCollage:
            (Collage() ? iconMode_ : collageMode_)->setChecked(true);
            Redraw();
            break;
        case kCmdMirror:
            mirror_->setChecked(!mirror_->isChecked());
            Redraw();
            break;
        case kCmdSaveIcon:
            SaveIconOrCollage();
            break;
        case kCmdSaveAllIcons:
            SaveAllIcons();
            break;
        default:
            break;
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
    if (!append) iconNumber_ = n;
    AppSettings& settings = doc_.Settings();
    const std::string bitmap = Ui().ChooseOpenFile(
        {settings.bmpFolder + "*.bmp", "Select BMP file", "Files (*.BMP)|*.bmp|", ".bmp"});
    if (bitmap.empty()) return;
    settings.bmpFolder = SplitPath(bitmap, kPathFolder);
    InsertIconFromBmp(image_, bitmap, n);
    image_.OpenFile(currentPath_);
    FillIconList(append ? iconNumber_ : n);
}

void CShpTool::RemoveSelectedIcon() {
    const int row = files_->currentRow();
    const int index = icons_->currentRow();
    if (index < 0) return;
    iconNumber_ = index + 1;
    // Removing rewrites the user's file: it is confirmed first.
    if (!AskYesNo("Remove icon %d from %s ?", iconNumber_, currentPath_.c_str())) return;
    if (!RemoveIcon(image_, iconNumber_)) {
        image_.OpenFile(currentPath_);
        return;
    }
    FillFileList();
    files_->setCurrentRow(row);
    FillIconList(index + 1);
}

void CShpTool::SaveIconOrCollage() {
    if (!HasFiles() || image_.IconCount() < 1) return;
    AppSettings& settings = doc_.Settings();
    const std::string proposed =
        FormatText("%s%s_%d.bmp", settings.bmpFolder.c_str(), BaseName().c_str(), iconNumber_);
    const std::string path =
        Ui().ChooseSaveFile({proposed, "BMP file for picture", "Files (*.BMP)|*.bmp|", ".bmp"});
    if (path.empty()) return;
    settings.bmpFolder = SplitPath(path, kPathFolder);
    if (Collage()) {
        BuildCollage(image_, path, picture_->Area(), iconNumber_);
    } else {
        image_.SelectIcon(iconNumber_);
        if (image_.DecodeIcon() > 0) SaveIconAsBmp(image_, path);
    }
    Redraw();
}

void CShpTool::SaveAllIcons() {
    if (!HasFiles() || image_.IconCount() < 1) return;
    const std::string folder =
        Ui().ChooseFolder(doc_.Settings().bmpFolder, "Select folder for Bitmaps");
    if (folder.empty()) return;
    SaveAllIconsAsBmp(image_, folder + BaseName());
    ShowSelectedIcon();
}

void CShpTool::SaveAsShp() {
    if (image_.IconCount() < 1) return;
    const std::string proposed =
        FormatText("%s%s.shp", doc_.Settings().helmarFolder.c_str(), BaseName().c_str());
    const std::string path =
        Ui().ChooseSaveFile({proposed, "SHP file to save", "Files (*.SHP)|*.shp|", ".shp"});
    if (path.empty()) return;
    ExportIconSetAsShpAndTell(image_, path);
    Redraw();
}
