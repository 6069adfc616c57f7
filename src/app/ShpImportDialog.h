#pragma once
// "Import Helmar - SHP files": the SHP files of a folder, previewed as their
// frames or as the S16 icons they would become, converted in one batch into
// the game's folder, optionally only those not there yet.

#include <QDialog>
#include <string>

#include "shp/ShpImage.h"
#include "sprite/S16Image.h"

class CAppDoc;
class PictureArea;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

class ShpImportDialog : public QDialog {
    Q_OBJECT
public:
    ShpImportDialog(CAppDoc& doc, QWidget* parent = nullptr);
    // Removes the preview's scratch file.
    ~ShpImportDialog() override;

    void FillList();
    void PreviewSelected();
    void ChooseShpFolder();
    void ChooseS16Folder();
    void FirstFrame();
    void PreviousFrame();
    void NextFrame();
    void NextPage();
    void Paint();
    void MakeS16();

    QListWidget* Files() const { return files_; }
    QCheckBox* OnlyNew() const { return onlyNew_; }
    QCheckBox* ShowAsS16() const { return asS16_; }
    QLabel* CountLine() const { return countLine_; }
    QLabel* RangeLine() const { return rangeLine_; }
    QLabel* StatusLine() const { return statusLine_; }
    QPushButton* MakeButton() const { return make_; }
    const std::string& ScratchPath() const { return scratch_; }
    int FirstShown() const { return first_; }

private:
    void BuildLayout();
    bool PreviewConversion(const std::string& shpPath);
    void ShowFolders();

    CAppDoc& doc_;
    std::string shpFolder_;
    std::string s16Folder_;
    std::string scratch_;
    S16Image icons_;
    ShpImage frames_;
    int first_ = 1;
    int shown_ = 0;
    bool noMore_ = false;

    QLabel* shpLabel_;
    QLabel* s16Label_;
    QListWidget* files_;
    QCheckBox* onlyNew_;
    QCheckBox* preview_;
    QCheckBox* asS16_;
    QLabel* statusLine_;
    QLabel* rangeLine_;
    QLabel* countLine_;
    PictureArea* picture_;
    QPushButton* make_;
};
