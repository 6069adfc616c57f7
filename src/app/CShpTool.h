#pragma once
// The S16 Tool: the S16 files of a folder, the icons of the selected file in
// an icon panel, and the editing commands: insert, append and remove icons,
// save them as SHP.

#include <QStringList>

#include "app/ToolView.h"
#include "sprite/S16Image.h"

class AnimationBar;
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
    // Reads the folder and the selected file again, keeping the selection.
    void ReloadFile();
    void FillIconList(int n);
    void ShowSelectedIcon();
    void ChooseFolder();
    void InsertIcon(bool append);
    void RemoveSelectedIcon();
    void SaveAsShp();
    // Appends each picture (BMP or PNG) as a new icon of the selected file
    // (CShpToolDrop.cpp, for pictures dropped onto the tool).
    void AppendPictures(const QStringList& paths);

    QListWidget* Files() const { return files_; }
    QListWidget* Icons() const { return icons_; }
    QLabel* Status() const { return status_; }
    IconPanel* Panel() const { return panel_; }
    AnimationBar* Animation() const { return animation_; }
    int IconNumber() const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

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
    AnimationBar* animation_;
};
