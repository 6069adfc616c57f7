#pragma once
// The S16 Tool: the S16 files of a folder, the icons of the selected file in
// an icon panel, and the editing commands: insert, append and remove icons,
// save them as SHP.

#include "app/ToolView.h"
#include "sprite/S16Image.h"

class CAppDoc;
class IconPanel;
class QLabel;
class QListWidget;

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
    void ChooseFolder();
    void InsertIcon(bool append);
    void RemoveSelectedIcon();
    void SaveAsShp();

    QListWidget* Files() const { return files_; }
    QListWidget* Icons() const { return icons_; }
    QLabel* Status() const { return status_; }
    IconPanel* Panel() const { return panel_; }
    int IconNumber() const;

private:
    void BuildLayout();
    void FillFileList();
    void ShowFirstPixel();
    bool HasFiles() const;
    bool ShowsIcons() const;
    std::string BaseName() const;

    CAppDoc& doc_;
    S16Image image_;
    std::string folder_;
    std::string currentPath_;

    QListWidget* files_;
    QListWidget* icons_;
    QLabel* path_;
    QLabel* status_;
    IconPanel* panel_;
};
