// View > the three ways the DAT Tool shows an archive: the current item's
// icons, a sheet of every listed item, a sheet of every icon of the item.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "app/CMainFrame.h"
#include "app/CShpView.h"

void CMainFrame::CreateSheetActions(QMenu* view) {
    view->addSeparator();
    auto* group = new QActionGroup(this);
    const char* const texts[] = {"Icons of the &Item", "S&heet of Items",
                                 "Sheet of the Item's I&cons"};
    const char* const tips[] = {"Show the icons of the selected item",
                                "Show the first icon of every listed item as a thumbnail",
                                "Show every icon of the selected item as a thumbnail"};
    for (int mode = CShpView::kNoSheet; mode <= CShpView::kIconSheet; ++mode) {
        QAction* action = view->addAction(texts[mode]);
        action->setCheckable(true);
        action->setChecked(mode == CShpView::kNoSheet);
        action->setStatusTip(tips[mode]);
        action->setShortcut(QKeySequence(Qt::Key_F6 + mode));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, mode] {
            SwitchTool(kDatTool);
            if (auto* datTool = static_cast<CShpView*>(View(kDatTool))) datTool->SetSheetMode(mode);
        });
        sheetActions_.push_back(action);
    }
}
