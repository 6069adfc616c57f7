#include "app/CMainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QDragEnterEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "app/CAppDoc.h"
#include "app/CShpTool.h"
#include "app/CShpView.h"
#include "app/CommandIds.h"
#include "app/ToolIcons.h"
#include "app/WindowSize.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace {

constexpr const char* kVersion = "1.3";
constexpr const char* kDate = "Jun 2007";
constexpr std::size_t kTitlePathLength = 48;

}  // namespace

CMainFrame::CMainFrame(CAppDoc& doc, QWidget* parent)
    : QMainWindow(parent), doc_(doc), stack_(new QStackedWidget(this)) {
    setCentralWidget(stack_);
    setAcceptDrops(true);
    statusBar()->showMessage("Ready");
    CreateActions();
    CreateMenus();
    CreateToolbars();
    connect(&doc_, &CAppDoc::Updated, this, [this] {
        for (auto& [kind, view] : views_)
            view->OnUpdate();
        UpdateCommandStates();
    });
    connect(&doc_, &CAppDoc::RecentChanged, this, &CMainFrame::RefreshRecentMenu);
    connect(&doc_, &CAppDoc::TitleChanged, this, &CMainFrame::RefreshTitle);
    RefreshRecentMenu();
    FitToScreen(this, QSize(1000, 680));
}

void CMainFrame::CreateActions() {
    const int commands[] = {
        kCmdSaveAllIcons,    kCmdShowAll,      kCmdShowInterface, kCmdZoom2,       kCmdZoom3,
        kCmdShowUnits,       kCmdCollage,      kCmdZoom1,         kCmdZoom5,       kCmdExtract,
        kCmdUnpack,          kCmdReplace,      kCmdAdd,           kCmdRepack,      kCmdRemove,
        kCmdSaveIcon,        kCmdZoom4,        kCmdS16Tool,       kCmdReportIcons, kCmdReportItems,
        kCmdCompare,         kCmdS16Maker,     kCmdDatTool,       kCmdMirror,      kCmdShpImport,
        kCmdExtractFiltered, kCmdOpen,         kCmdAbout,         kCmdHelp,        kCmdPreviousIcon,
        kCmdNextIcon,        kCmdPreviousItem, kCmdNextItem};
    for (int command : commands) {
        const CommandText* text = FindCommandText(command);
        auto* action = new QAction(ToolIcon(command), text->menu, this);
        action->setToolTip(text->prompt);
        action->setStatusTip(text->prompt);
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        actions_[command] = action;
    }
    for (int command : {kCmdShowAll, kCmdShowUnits, kCmdShowInterface, kCmdZoom1, kCmdZoom2,
                        kCmdZoom3, kCmdZoom4, kCmdZoom5, kCmdCollage, kCmdMirror}) {
        actions_[command]->setCheckable(true);
    }
    actions_[kCmdOpen]->setShortcut(QKeySequence::Open);
    actions_[kCmdHelp]->setShortcut(QKeySequence::HelpContents);
    const std::pair<int, QKeySequence> keys[] = {
        {kCmdZoom1, QKeySequence(Qt::CTRL | Qt::Key_1)},
        {kCmdZoom2, QKeySequence(Qt::CTRL | Qt::Key_2)},
        {kCmdZoom3, QKeySequence(Qt::CTRL | Qt::Key_3)},
        {kCmdZoom4, QKeySequence(Qt::CTRL | Qt::Key_4)},
        {kCmdZoom5, QKeySequence(Qt::CTRL | Qt::Key_5)},
        {kCmdCollage, QKeySequence(Qt::CTRL | Qt::Key_L)},
        {kCmdMirror, QKeySequence(Qt::CTRL | Qt::Key_M)},
        {kCmdPreviousIcon, QKeySequence(Qt::ALT | Qt::Key_Left)},
        {kCmdNextIcon, QKeySequence(Qt::ALT | Qt::Key_Right)},
        {kCmdPreviousItem, QKeySequence(Qt::ALT | Qt::Key_Up)},
        {kCmdNextItem, QKeySequence(Qt::ALT | Qt::Key_Down)},
        {kCmdDatTool, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {kCmdS16Tool, QKeySequence(Qt::CTRL | Qt::Key_T)},
    };
    for (const auto& [command, key] : keys)
        actions_[command]->setShortcut(key);
    // The Tools menu shows which tool is shown.
    auto* tools = new QActionGroup(this);
    for (int command : {kCmdDatTool, kCmdS16Tool}) {
        actions_[command]->setCheckable(true);
        tools->addAction(actions_[command]);
    }
}

QAction* CMainFrame::Action(int command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction(actions_[kCmdOpen]);
    recentMenu_ = file->addMenu("Recent File");
    file->addAction(actions_[kCmdRepack]);
    file->addSeparator();
    for (int command : {kCmdReportIcons, kCmdReportItems, kCmdCompare})
        file->addAction(actions_[command]);
    file->addSeparator();
    file->addAction("E&xit", this, &QWidget::close);

    CreateEditMenu();

    QMenu* archive = menuBar()->addMenu("&Archive");
    for (int command : {kCmdExtract, kCmdExtractFiltered, kCmdUnpack})
        archive->addAction(actions_[command]);
    archive->addSeparator();
    for (int command : {kCmdReplace, kCmdAdd, kCmdRemove})
        archive->addAction(actions_[command]);
    archive->addSeparator();
    for (int command : {kCmdSaveIcon, kCmdSaveAllIcons})
        archive->addAction(actions_[command]);

    QMenu* view = menuBar()->addMenu("&View");
    for (int command : {kCmdShowAll, kCmdShowUnits, kCmdShowInterface})
        view->addAction(actions_[command]);
    view->addSeparator();
    for (int command :
         {kCmdZoom1, kCmdZoom2, kCmdZoom3, kCmdZoom4, kCmdZoom5, kCmdCollage, kCmdMirror}) {
        view->addAction(actions_[command]);
    }
    view->addSeparator();
    for (int command : {kCmdPreviousIcon, kCmdNextIcon, kCmdPreviousItem, kCmdNextItem})
        view->addAction(actions_[command]);
    CreateSheetActions(view);

    QMenu* tools = menuBar()->addMenu("&Tools");
    for (int command : {kCmdS16Tool, kCmdDatTool, kCmdS16Maker, kCmdShpImport})
        tools->addAction(actions_[command]);

    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(actions_[kCmdHelp]);
    help->addAction(actions_[kCmdAbout]);
}

QToolBar* CMainFrame::MakeToolbar(const QString& name, const std::vector<int>& commands) {
    QToolBar* toolbar = addToolBar(name);
    toolbar->setObjectName(name);
    for (int command : commands) {
        if (command == 0) {
            toolbar->addSeparator();
        } else {
            toolbar->addAction(actions_[command]);
        }
    }
    return toolbar;
}

void CMainFrame::CreateToolbars() {
    datToolbar_ = MakeToolbar("DAT Tool", {kCmdS16Maker,
                                           kCmdS16Tool,
                                           kCmdShpImport,
                                           0,
                                           kCmdOpen,
                                           kCmdRepack,
                                           kCmdUnpack,
                                           0,
                                           kCmdShowAll,
                                           kCmdShowUnits,
                                           kCmdShowInterface,
                                           0,
                                           kCmdZoom1,
                                           kCmdZoom2,
                                           kCmdZoom3,
                                           kCmdZoom4,
                                           kCmdZoom5,
                                           kCmdCollage,
                                           kCmdMirror,
                                           0,
                                           kCmdExtract,
                                           kCmdExtractFiltered,
                                           kCmdSaveIcon,
                                           kCmdSaveAllIcons,
                                           0,
                                           kCmdReplace,
                                           kCmdRemove,
                                           kCmdAdd,
                                           0,
                                           kCmdAbout});
    s16Toolbar_ = MakeToolbar(
        "S16 Tool", {kCmdS16Maker, kCmdDatTool, kCmdShpImport, 0, kCmdZoom1, kCmdZoom2, kCmdZoom3,
                     kCmdCollage, kCmdMirror, 0, kCmdSaveIcon, kCmdSaveAllIcons, 0, kCmdAbout});
    // The Open button drops down the recent archives.
    if (auto* open = qobject_cast<QToolButton*>(datToolbar_->widgetForAction(actions_[kCmdOpen]))) {
        open->setMenu(recentMenu_);
        open->setPopupMode(QToolButton::MenuButtonPopup);
    }
    datToolbar_->hide();
}

QToolBar* CMainFrame::Toolbar(int kind) const {
    return kind == kDatTool ? datToolbar_ : s16Toolbar_;
}

ToolView* CMainFrame::View(int kind) const {
    const auto found = views_.find(kind);
    return found == views_.end() ? nullptr : found->second;
}

void CMainFrame::SwitchTool(int kind) {
    if (kind == currentKind_) return;
    ToolView* view = View(kind);
    if (!view) {
        view = kind == kDatTool ? static_cast<ToolView*>(new CShpView(doc_, stack_))
                                : static_cast<ToolView*>(new CShpTool(doc_, stack_));
        connect(view, &ToolView::StateChanged, this, &CMainFrame::UpdateCommandStates);
        connect(view, &ToolView::TitleChanged, this, &CMainFrame::RefreshTitle);
        stack_->addWidget(view);
        views_[kind] = view;
        view->OnUpdate();
    }
    currentKind_ = kind;
    stack_->setCurrentWidget(view);
    datToolbar_->setVisible(kind == kDatTool);
    s16Toolbar_->setVisible(kind == kS16Tool);
    RefreshTitle();
    UpdateCommandStates();
}

void CMainFrame::RunCommand(int command) {
    switch (command) {
        case kCmdS16Tool:
            SwitchTool(kS16Tool);
            break;
        case kCmdDatTool:
            SwitchTool(kDatTool);
            break;
        case kCmdAbout:
            ShowAbout();
            break;
        case kCmdHelp:
            ShowHelp();
            break;
        case kCmdS16Maker:
        case kCmdShpImport:
            RunToolDialog(command);
            break;
        default:
            if (ToolView* view = View(currentKind_); view && view->Handles(command))
                view->Run(command);
            break;
    }
    UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
    ToolView* view = View(currentKind_);
    for (auto& [command, action] : actions_) {
        if (!view || !view->Handles(command)) {
            action->setEnabled(IsFrameCommand(command));
            if (action->isCheckable())
                action->setChecked((command == kCmdDatTool && currentKind_ == kDatTool) ||
                                   (command == kCmdS16Tool && currentKind_ == kS16Tool));
            continue;
        }
        const CommandState state = view->StateOf(command);
        action->setEnabled(state.enabled);
        if (action->isCheckable()) action->setChecked(state.checked);
    }
}

QString CMainFrame::Title() const {
    if (currentKind_ != kDatTool)
        return QString::fromStdString(FormatText("Varnok DurOrer %s %s", kVersion, kDate));
    const std::string path = ShortenPath(doc_.Settings().last, kTitlePathLength, false);
    return QString::fromStdString(
        FormatText("Varnok DurOrer %s %s * %s", kVersion, kDate, path.c_str()));
}

void CMainFrame::RefreshTitle() {
    setWindowTitle(Title());
}

void CMainFrame::RefreshRecentMenu() {
    recentMenu_->clear();
    for (const std::string& path : doc_.Recent().Paths()) {
        recentMenu_->addAction(QString::fromStdString(path), this, [this, path] {
            doc_.OpenDocument(path);
            SwitchTool(kDatTool);
        });
    }
    recentMenu_->setEnabled(!doc_.Recent().Paths().empty());
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    // Items dragged out of the list and let go over the window are no archive to open.
    if (event->mimeData()->hasUrls() && event->source() == nullptr) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    doc_.OpenDocument(urls.front().toLocalFile().toStdString());
    SwitchTool(kDatTool);
}
