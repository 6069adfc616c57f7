#pragma once
// The main window: menus, the two toolbars, the status bar, and the tool
// view shown (the DAT Tool or the S16 Tool), each created once.

#include <QMainWindow>
#include <map>

class CAppDoc;
class QAction;
class QStackedWidget;
class QToolBar;
class QToolButton;
class ToolView;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    enum ToolKind { kDatTool = 0, kS16Tool = 1 };

    explicit CMainFrame(CAppDoc& doc, QWidget* parent = nullptr);

    // Shows the tool's view (made the first time) and its toolbar.
    void SwitchTool(int kind);
    int CurrentTool() const { return currentKind_; }
    ToolView* View(int kind) const;
    QAction* Action(int command) const;
    QAction* UndoAction() const { return undo_; }
    QAction* RedoAction() const { return redo_; }
    // "Icons of the Item", "Sheet of Items", "Sheet of the Item's Icons".
    QAction* SheetAction(int mode) const {
        return sheetActions_.at(static_cast<std::size_t>(mode));
    }
    QToolBar* Toolbar(int kind) const;
    // The window title for the current tool.
    QString Title() const;
    // Reads the enabled and checked states of the commands from the view.
    void UpdateCommandStates();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolbars();
    QToolBar* MakeToolbar(const QString& name, const std::vector<int>& commands);
    void RunCommand(int command);
    void RefreshRecentMenu();
    void RefreshTitle();
    void ShowAbout();
    void ShowHelp();
    // Edit > Undo and Redo, and reading a file again that changed (EditHistory.cpp).
    void CreateEditMenu();
    void RefreshEditMenu();
    void UndoOrRedo(bool undo);
    void Reload(int slot, const QString& path);
    // View > the DAT Tool's sprite sheets (CMainFrameSheet.cpp).
    void CreateSheetActions(QMenu* view);
    // The S16 Maker and the SHP import, run modally; the views update after.
    void RunToolDialog(int command);
    // Commands of the frame itself, available whichever tool is shown.
    static bool IsFrameCommand(int command);

    CAppDoc& doc_;
    QStackedWidget* stack_;
    std::map<int, ToolView*> views_;
    std::map<int, QAction*> actions_;
    QToolBar* datToolbar_ = nullptr;
    QToolBar* s16Toolbar_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    std::vector<QAction*> sheetActions_;
    int currentKind_ = -1;
};
