#pragma once
// The DAT Tool: the filtered item list of the open archive, the icons of the
// selected item (one at a time, zoomed, or as a collage), the fields of the
// current icon, and every archive command.

#include <string>
#include <vector>

#include "app/ToolView.h"
#include "support/ErrorLog.h"

class CAppDoc;
class PictureArea;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QtProgress;

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
    void UpdateStatus(bool draw);
    void Draw();

    // Navigation, as the four buttons and the icon number field do it.
    void FirstIcon();
    void PreviousIcon();
    void NextIcon();
    void NextPage();
    void SelectTypedIcon();

    // For the tests and the frame: what the view shows.
    QListWidget* ItemList() const { return itemList_; }
    QComboBox* FilterCombo() const { return filterCombo_; }
    QLineEdit* FilterText() const { return filterText_; }
    QLabel* ItemsText() const { return itemsText_; }
    QLabel* IconText() const { return iconText_; }
    PictureArea* Picture() const { return picture_; }
    QString FieldText(
        int field) const;  // 0..7: Width, Height, StartX, StartY, TWidth, THeight, Starts, Bytes
    bool CompressShown() const;
    int IconNumber() const { return iconNumber_; }
    int CurrentItem() const { return currentItem_; }
    int Zoom() const { return zoom_; }
    bool Collage() const { return collage_; }
    bool Mirror() const { return mirror_; }

private:
    void BuildLayout();
    QWidget* BuildFields();
    void ReadControls();
    void SelectRow(int row);
    void ShowFields();
    void ClearFields();
    void ClearView();
    bool HasItems() const;
    int SelectedRow() const;

    // The archive commands (CShpViewCommands.cpp).
    void Open();
    void SetFilterMode(int mode);
    void SetZoom(int zoom);
    void ToggleCollage();
    void ToggleMirror();
    void SaveIconOrCollage();
    void SaveAllIcons();
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
    int iconNumber_ = 1;
    int filterMode_ = 0;
    int zoom_ = 1;
    bool collage_ = true;
    bool mirror_ = false;
    int rowsShown_ = 0;
    int iconsShown_ = 0;
    bool atEnd_ = false;
    std::vector<int> rows_;  // the item index of each list row

    QComboBox* filterCombo_;
    QLineEdit* filterText_;
    QListWidget* itemList_;
    QLabel* itemsText_;
    QLabel* iconText_;
    PictureArea* picture_;
    std::vector<QLabel*> fields_;
    QCheckBox* compress_;
    QLineEdit* reserved_;
    QLineEdit* iconEdit_;
    QProgressBar* progressBar_;
    QtProgress* progress_;
};
