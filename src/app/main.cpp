// varnok-dat-tool: the window program.
#include <QApplication>
#include <csignal>

#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "app/QtSettingsStore.h"
#include "app/QtUserInterface.h"

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit a write then fails and is reported in the window
    // instead of ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Zentrik_Tools");
    QApplication::setApplicationName("Varnok Dat Tool");
    QtSettingsStore settings;
    QtUserInterface ui(settings);
    InstallUserInterface(&ui);
    int status = 0;
    {
        CAppDoc doc(settings);
        CMainFrame frame(doc);
        ui.SetParent(&frame);
        const QStringList arguments = QApplication::arguments();
        if (arguments.size() > 1) {
            // An archive named on the command line is shown in the DAT Tool.
            doc.OpenDocument(arguments.at(1).toStdString());
            frame.SwitchTool(CMainFrame::kDatTool);
        } else {
            doc.LoadSettingsOnce();
            frame.SwitchTool(CMainFrame::kS16Tool);
        }
        frame.show();
        status = QApplication::exec();
        ui.SetParent(nullptr);
    }
    InstallUserInterface(nullptr);
    return status;
}
