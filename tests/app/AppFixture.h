// What the window tests start from: a temporary folder (with the sample data
// when asked), the fake user interface and a document over settings kept in
// memory. Members are destroyed in reverse order, the document first.
#pragma once

#include <QApplication>
#include <memory>
#include <string>

#include "FakeUserInterface.h"
#include "TestFiles.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "app/CShpTool.h"
#include "app/CShpView.h"
#include "app/TextWindow.h"
#include "cli/SampleData.h"
#include "support/MemorySettingsStore.h"
#include "support/Progress.h"

// The text window shown last (a summary or a list), or null when none is.
inline TextWindow* ShownTextWindow() {
    TextWindow* shown = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<TextWindow*>(widget); window && window->isVisible())
            shown = window;
    }
    return shown;
}

struct AppFixture {
    // `items` units and widgets of sample data; none writes no sample data.
    explicit AppFixture(int items = 0)
        : written(items == 0 || WriteSampleData(dir.Path(), items, NoProgress())) {}

    std::string At(const std::string& name) const { return dir / name; }

    TempDir dir;
    bool written;
    FakeUserInterface ui;
    MemorySettingsStore store;
    CAppDoc doc{store};
};

// The real window on the sample archive, showing the DAT Tool. With
// `s16First` the S16 Tool is made and shown first, as at a usual start.
struct WindowFixture {
    explicit WindowFixture(bool s16First = false) {
        frame.resize(1000, 700);
        if (s16First) frame.SwitchTool(CMainFrame::kS16Tool);
        frame.show();
        opened = app.written && app.doc.OpenDocument(app.At("KELPAR.dat"));
        frame.SwitchTool(CMainFrame::kDatTool);
        QCoreApplication::processEvents();
    }

    CShpView* View() const { return static_cast<CShpView*>(frame.View(CMainFrame::kDatTool)); }
    // The S16 Tool shown on the sample folder.
    CShpTool* S16ToolOnSamples() {
        app.doc.Settings().s16Folder = app.At("");
        frame.SwitchTool(CMainFrame::kS16Tool);
        auto* tool = static_cast<CShpTool*>(frame.View(CMainFrame::kS16Tool));
        tool->OnUpdate();
        return tool;
    }

    AppFixture app{24};
    CMainFrame frame{app.doc};
    bool opened = false;
};
