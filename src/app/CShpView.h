#pragma once
// The DAT Tool: the filtered item list of the open archive, the icons of the
// selected item in an icon panel, and every archive command.

#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "app/ToolView.h"
#include "support/ErrorLog.h"

class AnimationBar;
class CAppDoc;
class IconPanel;
class ItemListModel;
class PictureArea;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QMimeData;
class QTemporaryDir;
class QtProgress;
class SheetView;

class CShpView : public ToolView {
    Q_OBJECT
public:
    CShpView(CAppDoc& doc, QWidget* parent = nullptr);
    ~CShpView() override;

    void OnUpdate() override;
    bool Handles(int command) const override;
    void Run(int command) override;
    CommandState StateOf(int command) const override;

    // Refills the list under the filter and selects `row` (clamped).
    void FillList(int row);
    void ShowCurrent();

    // For the tests and the frame: what the view shows.
    QListView* ItemList() const { return itemList_; }
    ItemListModel* Items() const { return items_; }
    QComboBox* FilterCombo() const { return filterCombo_; }
    QLineEdit* FilterText() const { return filterText_; }
    QLabel* ItemsText() const { return itemsText_; }
    IconPanel* Panel() const { return panel_; }
    // How the right side shows the archive (CShpViewSheet.cpp): the current
    // item's icons in the panel, or a sheet of every listed item's first
    // icon, or a sheet of every icon of the current item.
    enum SheetMode { kNoSheet = 0, kItemSheet = 1, kIconSheet = 2 };
    void SetSheetMode(int mode);
    int Sheet() const { return sheetMode_; }
    SheetView* SheetWidget() const { return sheet_; }
    AnimationBar* Animation() const { return animation_; }
    int CurrentItem() const { return currentItem_; }
    // The panel's, as the tests read them.
    QLabel* IconText() const;
    PictureArea* Picture() const;
    QString FieldText(int field) const;  // 0..7: Width, Height, StartX, StartY, TWidth, ...
    int IconNumber() const;
    int Zoom() const;
    bool Collage() const;
    bool Mirror() const;
    void FirstIcon();
    void NextIcon();
    void NextPage();

private:
    void BuildLayout();
    void ReadControls();
    void SelectRow(int row);
    void ShowItemsText();
    void ClearView();
    void RefillSheet();

public:
    // Drag and drop on the item list (CShpViewDrag.cpp): the files of the
    // rows' items, written to a folder of their own; null when none could be.
    QMimeData* DragOutItems(const std::vector<int>& rows);
    // Adds the dropped .s16 files, or replaces the items of their names (asked per file).
    void DropFiles(const QStringList& paths);

private:
    void ChooseFromSheet(int item, int icon);
    bool HasItems() const;
    bool ShowsItem() const;
    int SelectedRow() const;

    // The archive commands (CShpViewCommands.cpp).
    void Open();
    void SetFilterMode(int mode);
    // Selects the item `step` rows down the list (up when negative).
    void StepItem(int step);
    void Repack();
    void Replace();
    void Add();
    void Remove();
    void Extract();
    void ExtractFiltered();
    void Unpack();
    void Report(bool withIcons);
    void Compare();
    std::string CurrentName() const;
    std::string CurrentBaseName() const;

    CAppDoc& doc_;
    int currentItem_ = -1;
    int filterMode_ = 0;
    bool filling_ = false;
    int sheetMode_ = kNoSheet;  // the list is being refilled: its row changes are not the user's

    QComboBox* filterCombo_;
    QLineEdit* filterText_;
    ItemListModel* items_;
    QListView* itemList_;
    QLabel* itemsText_;
    IconPanel* panel_;
    SheetView* sheet_;
    AnimationBar* animation_;
    std::unique_ptr<QTemporaryDir> dragFolder_;
    QtProgress* progress_;
};
