// The commands of the DAT Tool: asking the user, then running the archive
// operations that the command line runs too.
#include <QComboBox>
#include <QDir>
#include <QListView>
#include <algorithm>

#include "app/BatchMessages.h"
#include "app/CAppDoc.h"
#include "app/CShpView.h"
#include "app/ChangeTracker.h"
#include "app/CommandIds.h"
#include "app/IconPanel.h"
#include "app/ItemListModel.h"
#include "app/QtProgress.h"
#include "archive/ArchiveCommands.h"
#include "archive/DatFormat.h"
#include "archive/ItemNames.h"
#include "archive/RepackFolder.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/UserInterface.h"

namespace {

const char* const kDatFilter = "DAT Files (*.DAT)|*.dat|";
const char* const kS16Filter = "Files (*.S16)|*.s16|";
const char* const kTextFilter = "Text files |*.txt";

// The folder the Open dialog starts in when no archive was opened yet.
std::string DefaultGameFolder() {
#ifdef _WIN32
    return "C:\\GAMES\\VARNOK\\";
#else
    const std::string wine =
        AsFolder(QDir::homePath().toStdString()) + ".wine/drive_c/GAMES/VARNOK/";
    return Exists(wine) ? wine : AsFolder(QDir::homePath().toStdString());
#endif
}

UserInterface& Ui() {
    return CurrentUserInterface();
}

// What heads the summary of an extraction that left items out.
std::string NotWrittenHeading(const ItemWriteResult& result, const std::string& folder) {
    return FormatText("%d items written to [%s], %d not written:", result.written, folder.c_str(),
                      result.failures);
}

}  // namespace

bool CShpView::Handles(int command) const {
    if (panel_->Handles(command)) return true;
    switch (command) {
        case kCmdOpen:
        case kCmdShowAll:
        case kCmdShowUnits:
        case kCmdShowInterface:
        case kCmdRepack:
        case kCmdReplace:
        case kCmdRemove:
        case kCmdAdd:
        case kCmdUnpack:
        case kCmdExtract:
        case kCmdExtractFiltered:
        case kCmdReportIcons:
        case kCmdReportItems:
        case kCmdCompare:
        case kCmdPreviousItem:
        case kCmdNextItem:
            return true;
        default:
            return false;
    }
}

CommandState CShpView::StateOf(int command) const {
    const bool open = doc_.Archive().IsOpen();
    if (panel_->Handles(command)) return panel_->StateOf(command, {open, false});
    switch (command) {
        case kCmdShowAll:
            return {filterMode_ != 0, filterMode_ == 0};
        case kCmdShowUnits:
            return {filterMode_ != 1, filterMode_ == 1};
        case kCmdShowInterface:
            return {filterMode_ != 2, filterMode_ == 2};
        case kCmdOpen:
        case kCmdRepack:
            return {true, false};
        default:
            return {open, false};
    }
}

void CShpView::Run(int command) {
    if (panel_->Handles(command)) panel_->Run(command);
    switch (command) {
        case kCmdOpen:
            Open();
            break;
        case kCmdShowAll:
            SetFilterMode(0);
            break;
        case kCmdShowUnits:
            SetFilterMode(1);
            break;
        case kCmdShowInterface:
            SetFilterMode(2);
            break;
        case kCmdRepack:
            Repack();
            break;
        case kCmdReplace:
            Replace();
            break;
        case kCmdRemove:
            Remove();
            break;
        case kCmdAdd:
            Add();
            break;
        case kCmdUnpack:
            Unpack();
            break;
        case kCmdExtract:
            Extract();
            break;
        case kCmdExtractFiltered:
            ExtractFiltered();
            break;
        case kCmdReportIcons:
            Report(true);
            break;
        case kCmdReportItems:
            Report(false);
            break;
        case kCmdCompare:
            Compare();
            break;
        case kCmdPreviousItem:
            StepItem(-1);
            break;
        case kCmdNextItem:
            StepItem(1);
            break;
        default:
            break;
    }
    emit StateChanged();
}

std::string CShpView::CurrentName() const {
    return currentItem_ >= 0 ? doc_.Archive().Entry(currentItem_).Name() : std::string();
}

std::string CShpView::CurrentBaseName() const {
    return SplitPath(CurrentName(), kPathBaseName);
}

void CShpView::Open() {
    const std::string last = doc_.Archive().ArchivePath();
    const std::string path = Ui().ChooseOpenFile(
        {last.empty() ? DefaultGameFolder() : last, "Select DAT file", kDatFilter, ".dat"});
    if (path.empty()) return;
    if (doc_.Archive().OpenArchive(path)) {
        FillList(0);
        doc_.NoteOpened(path);
    } else {
        FillList(0);
    }
}

void CShpView::StepItem(int step) {
    if (items_->Count() < 1) return;
    const int row = std::clamp(SelectedRow() + step, 0, items_->Count() - 1);
    itemList_->setCurrentIndex(items_->index(row));
}

void CShpView::SetFilterMode(int mode) {
    filterCombo_->setCurrentIndex(mode);
    FillList(0);
}

void CShpView::Repack() {
    // The new archive most often goes beside the one open.
    const std::string open = doc_.Archive().ArchivePath();
    const std::string folder =
        open.empty() ? doc_.Settings().s16Folder : SplitPath(open, kPathFolder);
    const std::string path = Ui().ChooseSaveFile(
        {folder + "*.dat", "Select new DAT file to create", kDatFilter, ".dat"});
    if (path.empty()) return;
    ChangeTracker::Rewrite rewrite(doc_.Changes(), path);
    if (!rewrite) return;
    // Only an archive that was there is kept as the backup; an older backup is not its.
    const bool replacing = Exists(path);
    ErrorLog log;
    log.Start(path);
    if (!RepackFolder(path, log, *progress_)) {
        log.Finish(false);
        return;
    }
    log.Finish(true);
    if (replacing) rewrite.Done(dat::BackupPath(path), "Repack");
    if (doc_.Archive().OpenArchive(path)) {
        FillList(0);
        doc_.NoteOpened(path);
    }
}

void CShpView::Replace() {
    if (!HasItems() || currentItem_ < 0) return;
    AppSettings& settings = doc_.Settings();
    const std::string path = Ui().ChooseOpenFile(
        {settings.s16Folder + CurrentName(), "Select S16 replacement file", kS16Filter, ".s16"});
    if (path.empty()) return;
    settings.s16Folder = SplitPath(path, kPathFolder);
    const int row = SelectedRow();
    const std::string name = CurrentName();
    ChangeTracker::Rewrite rewrite(doc_.Changes(), doc_.Archive().ArchivePath());
    if (!rewrite) return;
    if (ReplaceWithSameNamedFile(doc_.Archive(), currentItem_, path, *progress_))
        rewrite.Done(doc_.Archive().BackupPath(), QString::fromStdString("Replace " + name));
    FillList(row);
}

void CShpView::Add() {
    if (!HasItems()) return;
    AppSettings& settings = doc_.Settings();
    const std::vector<std::string> paths = Ui().ChooseFiles(
        {settings.s16Folder + "*.s16", "Select S16 file to add", kS16Filter, ".s16"});
    if (paths.empty()) return;
    const int row = SelectedRow();
    ChangeTracker::Rewrite rewrite(doc_.Changes(), doc_.Archive().ArchivePath());
    if (!rewrite) return;
    if (AddFiles(doc_.Archive(), paths, *progress_)) {  // one rewrite for all the files
        rewrite.Done(doc_.Archive().BackupPath(),
                     paths.size() == 1
                         ? QString::fromStdString("Add " + SplitPath(paths[0], kPathFileName))
                         : QString("Add %1 items").arg(paths.size()));
    }
    settings.s16Folder = SplitPath(paths.back(), kPathFolder);
    FillList(row);
}

void CShpView::Remove() {
    if (!HasItems() || currentItem_ < 0) return;
    const int row = SelectedRow();
    ChangeTracker::Rewrite rewrite(doc_.Changes(), doc_.Archive().ArchivePath());
    if (!rewrite) return;
    const std::string name = RemoveItemAndTell(doc_.Archive(), currentItem_, *progress_);
    if (!name.empty())
        rewrite.Done(doc_.Archive().BackupPath(), QString::fromStdString("Remove " + name));
    FillList(row);
}

void CShpView::Extract() {
    if (!HasItems() || currentItem_ < 0) return;
    const std::string path = Ui().ChooseSaveFile(
        {doc_.Settings().s16Folder + CurrentName(), "Select extract file name", "", ""});
    if (path.empty()) return;
    ChangeTracker::OwnWrites own(doc_.Changes());
    ExtractItemAndTell(doc_.Archive(), currentItem_, path);
}

void CShpView::ExtractFiltered() {
    if (!HasItems()) return;
    const std::string folder = Ui().ChooseFolder(doc_.Settings().s16Folder, "Select folder ");
    if (folder.empty()) return;
    // The items are written as the command line writes them, by one rule for
    // all, with one summary of what went wrong.
    ChangeTracker::OwnWrites own(doc_.Changes());
    BatchMessages batch("Extract filtered items", this);
    const ItemWriteResult result = doc_.Archive().WriteItems(items_->Items(), folder, *progress_);
    batch.Finish(NotWrittenHeading(result, folder), folder);
    TellFilteredExtraction(result.written, folder);
}

void CShpView::Unpack() {
    if (!HasItems()) return;
    const std::string folder =
        Ui().ChooseFolder(SplitPath(doc_.Archive().ArchivePath(), kPathFolder), "Select folder ");
    if (folder.empty()) return;
    ChangeTracker::OwnWrites own(doc_.Changes());
    BatchMessages batch("UnPack to a folder", this);
    const ItemWriteResult result = doc_.Archive().UnpackAll(folder, *progress_);
    batch.Finish(NotWrittenHeading(result, folder), folder);
}

void CShpView::Report(bool withIcons) {
    if (!HasItems()) return;
    const std::string path =
        Ui().ChooseSaveFile({ChangeExtension(doc_.Archive().ArchivePath(), ".txt"),
                             "Select file to report", kTextFilter, ".txt"});
    if (!path.empty()) doc_.Archive().WriteReport(path, withIcons);
}

void CShpView::Compare() {
    if (!HasItems()) return;
    DatArchive& archive = doc_.Archive();
    const std::string other =
        Ui().ChooseOpenFile({SplitPath(archive.ArchivePath(), kPathFolder) + "*.dat",
                             "Select DAT file to compare", kDatFilter, ".dat"});
    if (other.empty()) return;
    if (!Exists(other)) {
        ReportMissingFile(other);
        return;
    }
    const std::string report =
        Ui().ChooseSaveFile({SplitPath(archive.ArchivePath(), kPathWithoutExt) + "_diff.txt",
                             "Select file to report", kTextFilter, ".txt"});
    if (report.empty()) return;
    const bool differencesOnly =
        AskYesNo("\n Do you want to include ONLY items \n not included on both files ? \n");
    archive.CompareArchives(other, report, differencesOnly);
    ShowCurrent();
}
