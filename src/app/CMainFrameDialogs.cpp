// The About box, the help lookup and the modal tool dialogs of the main window.
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "app/ChangeTracker.h"
#include "app/CommandIds.h"
#include "app/S16MakerDialog.h"
#include "app/ShpImportDialog.h"
#include "support/Messages.h"
#include "support/Paths.h"
#include "support/UserInterface.h"

namespace {

// Each text is one literal, split only to keep the lines short.
const char* const kAboutTexts[] = {
    "This tool  is intended to allow an easier file maintenance for Varnok  .DAT and .S16 files",
    ("DAT Files can be created packing all S16 files in a folder and then you can add, replace or "
     "remove any of them."),
    ("S16 Files can be created from a single icon BMP file and then you can append, insert new "
     "icons from others BMP. You can also remove any icon."),
    ("From a DAT File you can extract any item as a S16 file or as a BMP file to edit with an "
     "external  graphic editor. You can also save a collage as BMP"),
    ("In order to allow reading a BMP into a  S16 icon saving some space,  you should use color "
     "RGB "
     "( 248, 220, 220 ) (or 0x00F8DCDC) to define all areas not used."),
};

}  // namespace

bool CMainFrame::IsFrameCommand(int command) {
    return command == kCmdS16Tool || command == kCmdDatTool || command == kCmdAbout ||
           command == kCmdHelp || command == kCmdS16Maker || command == kCmdShpImport;
}

void CMainFrame::ShowAbout() {
    QDialog box(this);
    box.setWindowTitle("About Varnok Dat Tool");
    auto* layout = new QVBoxLayout(&box);
    auto* heading =
        new QLabel(QString("Varnok Dat Tool  Version %1  %2").arg("1.3", "Jun 2007"), &box);
    heading->setObjectName("heading");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);
    for (const char* text : kAboutTexts) {
        auto* label = new QLabel(text, &box);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto* buttons = new QDialogButtonBox(&box);
    buttons->addButton("Close", QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    box.resize(460, 320);
    box.exec();
}

void CMainFrame::ShowHelp() {
    const std::string lastFolder = SplitPath(doc_.Settings().last, kPathFolder);
    const std::string programFolder = ProgramFolder();
    for (const std::string& candidate :
         {lastFolder + "varnok_dat.chm", programFolder + "varnok_dat.chm",
          lastFolder + "varnok_dat.htm", programFolder + "varnok_dat.htm"}) {
        if (Exists(candidate)) {
            CurrentUserInterface().OpenWithDesktop(candidate);
            return;
        }
    }
    ShowInfo("No help file was found: varnok_dat.htm belongs beside the program or the archive.");
}

void CMainFrame::RunToolDialog(int command) {
    doc_.LoadSettingsOnce();
    // The files the dialogs write may be the one the S16 Tool shows.
    ChangeTracker::OwnWrites own(doc_.Changes());
    if (command == kCmdS16Maker) {
        S16MakerDialog dialog(doc_, this);
        dialog.exec();
    } else {
        ShpImportDialog dialog(doc_, this);
        dialog.exec();
    }
    doc_.UpdateAllViews();
}
