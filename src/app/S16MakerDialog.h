#pragma once
// "Varnok S16 Creator": bitmaps of a folder, previewed, marked or collected
// into an ordered list, and built into S16 files in one of three ways.

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>

#include "app/IconListModel.h"
#include "bitmap/PixelBuffer24.h"

class CAppDoc;
class PictureArea;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class S16MakerDialog : public QDialog {
    Q_OBJECT
public:
    enum Mode { kCloned = 0, kSheet = 1, kList = 2 };

    S16MakerDialog(CAppDoc& doc, QWidget* parent = nullptr);
    // Writes the mode and the preview choice to the settings.
    ~S16MakerDialog() override;

    void ShowFiles();
    void ChooseFolder();
    void PreviewFocused();
    void AddSelectedToList();
    void RemoveFromList();
    void MoveEntry(int step);
    void ClearList();
    void SetMode(int mode);
    void Make();

    QListWidget* Bitmaps() const { return bitmaps_; }
    QListWidget* IconList() const { return iconList_; }
    QLineEdit* FileSpec() const { return spec_; }
    QLabel* SizeLabel() const { return sizeLabel_; }
    QLabel* PixelLabel() const { return pixelLabel_; }
    QPushButton* MakeButton() const { return make_; }
    QCheckBox* Grid() const { return grid_; }
    int Mode() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void BitmapDoubleClicked(const QString& name);
    void EnableMake();
    void ShowIconList(int selected);
    void ShowPreviewLabels(bool spacedRgb);
    void DrawPreview();
    std::vector<std::string> SelectedNames() const;

    CAppDoc& doc_;
    std::string folder_;
    IconListModel list_;
    PixelBuffer24 preview_;
    // The bitmap the preview was last loaded from, so that one focus shows a
    // bad bitmap's error once.
    std::string previewed_;
    // The selection before the first click of a double click, which that
    // click reduces to one bitmap.
    QStringList selectionAtPress_;
    QElapsedTimer sincePress_;

    QLabel* folderLabel_;
    QLineEdit* spec_;
    QListWidget* bitmaps_;
    QListWidget* iconList_;
    QLabel* sizeLabel_;
    QLabel* pixelLabel_;
    PictureArea* picture_;
    QCheckBox* previewBox_;
    QPushButton* zoom_;
    QRadioButton* modes_[3];
    QLabel* modeTexts_[3];
    QCheckBox* grid_;
    QPushButton* make_;
    QWidget* mover_;
};
