// The DAT Tool's sprite sheet: the archive as a grid of thumbnails beside
// the item list, in place of the icon panel.
#include <QListView>

#include "app/AnimationBar.h"
#include "app/CAppDoc.h"
#include "app/CShpView.h"
#include "app/IconPanel.h"
#include "app/ItemListModel.h"
#include "app/SheetModel.h"
#include "app/SheetView.h"

void CShpView::SetSheetMode(int mode) {
    if (mode == sheetMode_) return;
    sheetMode_ = mode;
    panel_->setVisible(mode == kNoSheet);
    sheet_->setVisible(mode != kNoSheet);
    // The animation plays the icon panel.
    animation_->Stop();
    animation_->setVisible(mode == kNoSheet);
    RefillSheet();
    ShowCurrent();
    emit StateChanged();
}

void CShpView::RefillSheet() {
    SheetModel* model = sheet_->Model();
    const DatArchive& archive = doc_.Archive();
    if (sheetMode_ == kNoSheet || !archive.IsLoaded()) {
        model->Clear();
        return;
    }
    if (sheetMode_ == kIconSheet) {
        model->ShowIcons(archive.ArchivePath(), archive.Entries(), currentItem_);
        return;
    }
    model->ShowItems(archive.ArchivePath(), archive.Entries(), items_->Items());
    sheet_->SelectItem(currentItem_);
}

void CShpView::ChooseFromSheet(int item, int icon) {
    if (item < 0) return;
    if (sheetMode_ == kIconSheet) {
        panel_->ShowIcon(icon);
        return;
    }
    const std::vector<int>& rows = items_->Items();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row] == item) {
            itemList_->setCurrentIndex(items_->index(static_cast<int>(row)));
            return;
        }
    }
}
