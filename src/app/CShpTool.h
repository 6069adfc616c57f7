#pragma once
// The S16 Tool: the S16 files of a folder, the icons of the selected file
// (one zoomed or a collage), the selected icon's record, and the editing
// commands: insert, append and remove icons, save them as BMP or SHP.

#include "app/ToolView.h"
#include "sprite/S16Image.h"

class CAppDoc;
class PictureArea;
class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QRadioButton;

class CShpTool : public ToolView {
    Q_OBJECT
public:
    CShpTool(CAppDoc& doc, QWidget* parent = nullptr);

    void OnUpdate() override;
    bool Handles(int command) const override;
    void Run(int command) override;
    CommandState StateOf(int command) const override;

    void OpenSelectedFile();
    void FillIconList(int n);
    void ShowSelectedIcon();
    void Redraw();
    void ChooseFolder();
    void InsertIcon(bool append);
    void RemoveSelectedIcon();
    void SaveIconOrCollage();
    void SaveAllIcons();
    void SaveAsShp();

    QListWidget* Files() const { return files_; }
    QListWidget* Icons() const { return icons_; }
    QLabel* Status() const { return status_; }
    QLabel* CurrentPath() const { return path_; }
    PictureArea* Picture() const { return picture_; }
    S16Image& Image() { return image_; }
    QString FieldText(
        int field) const;  // 0..7: TWidth, THeight, StartX, StartY, Width, Height, Starts, Bytes
    int IconNumber() const { return iconNumber_; }
    bool Collage() const;

private:
    void BuildLayout();
    QWidget* BuildFields();
    void FillFileList();
    void ShowFields(bool redraw);
    bool HasFiles() const;
    std::string BaseName() const;

    CAppDoc& doc_;
    S16Image image_;
    std::string folder_;
    std::string currentPath_;
    int iconNumber_ = 1;
    int zoom_ = 0;
    bool atEnd_ = false;

    QListWidget* files_;
    QListWidget* icons_;
    QLabel* path_;
    QLabel* status_;
    PictureArea* picture_;
    std::vector<QLabel*> fields_;
    QCheckBox* compress_;
    QRadioButton* iconMode_;
    QRadioButton* collageMode_;
    QCheckBox* mirror_;
};
