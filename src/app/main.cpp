// varnok-dat-tool: the window program.
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/AppIcon.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "app/InformationRequest.h"
#include "app/PictureArea.h"
#include "app/QtSettingsStore.h"
#include "app/QtUserInterface.h"
#include "support/Messages.h"

namespace {

// Running out of memory in a command stops that command with the usual
// message; the window stays and takes the next one. Every rewrite abandons its
// scratch file as the stack unwinds, so no file is left half-written.
class Application : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            const bool picturePaint = event->type() == QEvent::Paint && timeFirstPaint_;
            const bool handled = QApplication::notify(receiver, event);
            if (picturePaint) NoteFirstPaint(receiver);
            return handled;
        } catch (const std::bad_alloc&) {
            try {
                ReportOutOfMemory("");
            } catch (...) {
                // Too little memory left even to say so.
            }
            return false;
        }
    }

private:
    // With VARNOK_EXIT_AFTER_FIRST_PAINT set (bench/window_bench.sh times the
    // window with it), the first paint of a picture prints the wall-clock time
    // as "first paint at SECONDS" and the program quits once that is on screen.
    void NoteFirstPaint(QObject* receiver) {
        const auto* area = qobject_cast<PictureArea*>(receiver);
        if (area == nullptr || area->Picture().isNull()) return;
        timeFirstPaint_ = false;
        QTimer::singleShot(0, this, [] {
            const auto since = std::chrono::system_clock::now().time_since_epoch();
            std::printf("first paint at %.6f\n", std::chrono::duration<double>(since).count());
            std::fflush(stdout);
            QApplication::exit(0);
        });
    }

    bool timeFirstPaint_ = std::getenv("VARNOK_EXIT_AFTER_FIRST_PAINT") != nullptr;
};

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file-size limit a write then fails and is reported in the window
    // instead of ending the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    if (const int status = AnswerInformationRequest(argc, argv, stdout); status >= 0) return status;
    Application application(argc, argv);
    QApplication::setWindowIcon(ApplicationIcon());
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
