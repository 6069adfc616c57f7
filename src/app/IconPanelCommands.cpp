// The commands of the icon panel: zoom, collage, mirror, and saving the
// icons shown as BMP files.
#include <QCheckBox>
#include <QRadioButton>

#include "app/AppSettings.h"
#include "app/BatchMessages.h"
#include "app/CommandIds.h"
#include "app/IconPanel.h"
#include "app/PictureArea.h"
#include "sprite/IconExport.h"
#include "sprite/IconRenderer.h"
#include "sprite/S16Image.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/UserInterface.h"

bool IconPanel::Handles(int command) const {
    if (ZoomOfCommand(command) != 0) return true;
    switch (command) {
        case kCmdCollage:
        case kCmdMirror:
        case kCmdSaveIcon:
        case kCmdSaveAllIcons:
        case kCmdPreviousIcon:
        case kCmdNextIcon:
            return true;
        default:
            return false;
    }
}

CommandState IconPanel::StateOf(int command, CommandState otherwise) const {
    if (ZoomOfCommand(command) != 0) return ZoomCommandState(command, zoom_, !collage_);
    switch (command) {
        case kCmdCollage:
            return {true, collage_};
        case kCmdMirror:
            return {true, mirror_};
        case kCmdPreviousIcon:
        case kCmdNextIcon:
            return {otherwise.enabled && Shows(), false};
        default:
            return otherwise;
    }
}

void IconPanel::Run(int command) {
    if (const int zoom = ZoomOfCommand(command); zoom != 0) SetZoom(zoom);
    switch (command) {
        case kCmdCollage:
            SetCollage(!collage_);
            break;
        case kCmdMirror:
            SetMirror(!mirror_);
            break;
        case kCmdSaveIcon:
            SaveIconOrCollage();
            break;
        case kCmdSaveAllIcons:
            SaveAllIcons();
            break;
        case kCmdPreviousIcon:
            PreviousIcon();
            break;
        case kCmdNextIcon:
            NextIcon();
            break;
        default:
            break;
    }
}

void IconPanel::SetZoom(int zoom) {
    zoom_ = zoom;
    Draw();
}

void IconPanel::SetCollage(bool collage) {
    collage_ = collage;
    SyncModeRow();
    if (!Shows()) return;
    if (collage_) {
        if (style_.collageResetsZoom) zoom_ = 1;
    } else {
        // One icon: paging goes on from the collage's first, which is no longer at the end.
        atEnd_ = false;
        iconNumber_ = sprite_.image.SelectIcon(iconNumber_);
        Refresh(false);
    }
    Draw();
}

void IconPanel::SetMirror(bool mirror) {
    mirror_ = mirror;
    SyncModeRow();
    sprite_.image.SetMirrorX(mirror_);
    Draw();
}

void IconPanel::SyncModeRow() {
    if (!iconMode_) return;
    (collage_ ? collageMode_ : iconMode_)->setChecked(true);
    mirrorBox_->setChecked(mirror_);
}

void IconPanel::SaveIconOrCollage() {
    if (!Shows()) return;
    const std::string base = sprite_.baseName();
    const std::string proposed =
        style_.namesWithIconNumber && collage_
            ? FormatText("%s%s_all.bmp", settings_.bmpFolder.c_str(), base.c_str())
            : FormatText("%s%s_%d.bmp", settings_.bmpFolder.c_str(), base.c_str(), iconNumber_);
    const std::string path = CurrentUserInterface().ChooseSaveFile(
        {proposed, "BMP file for picture", "Files (*.BMP)|*.bmp|", ".bmp"});
    if (path.empty()) return;
    settings_.bmpFolder = SplitPath(path, kPathFolder);
    S16Image& image = sprite_.image;
    if (collage_) {
        BuildCollage(image, path, picture_->Area(), iconNumber_);
    } else {
        image.SelectIcon(iconNumber_);
        if (image.DecodeIcon() > 0) SaveIconAsBmp(image, path);
    }
    Draw();
}

void IconPanel::SaveAllIcons() {
    if (!Shows()) return;
    const std::string folder =
        CurrentUserInterface().ChooseFolder(settings_.bmpFolder, "Select folder for Bitmaps");
    if (folder.empty()) return;
    const std::string base = sprite_.baseName();
    // An icon that cannot be written is told in one list with the others, not one box each.
    BatchMessages batch("Save ALL Icons", this);
    SaveAllIconsAsBmp(sprite_.image,
                      style_.namesWithIconNumber
                          ? FormatText("%s%s_%d.bmp", folder.c_str(), base.c_str(), iconNumber_)
                          : folder + base);
    batch.Finish("", folder);
    Draw();
}
