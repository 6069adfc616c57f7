#pragma once
// "Folder Browser": a tree of folders, the files of the current one, a
// remembered history, and buttons that create, rename, delete and inspect
// folders. BrowseFolder runs it and returns the chosen folder.

#include <QDialog>
#include <memory>
#include <string>

#include "browse/FolderHistory.h"

class QComboBox;
class QLabel;
class QMenu;
class QListWidget;
class FolderTreeView;
class SettingsStore;

class FolderBrowserDialog : public QDialog {
    Q_OBJECT
public:
    FolderBrowserDialog(const std::string& initialFolder, const std::string& caption,
                        SettingsStore& settings, QWidget* parent = nullptr);

    // The chosen folder, ending in a separator.
    std::string ChosenFolder() const { return chosen_; }
    FolderTreeView* Tree() const { return tree_; }
    QListWidget* Files() const { return files_; }
    QComboBox* History() const { return history_; }
    QLabel* FileCount() const { return count_; }

    // The right-click menu of the tree: create, rename, delete, properties.
    QMenu* FolderMenu();
    void CreateFolder();
    void RenameFolder();
    void DeleteFolder();
    void ShowProperties();
    void GoToParent();

public slots:
    void accept() override;

private:
    void BuildButtons(QLayout* row);
    void CurrentChanged();
    void HistoryChosen(int index);

    FolderHistory history_model_;
    FolderTreeView* tree_;
    QListWidget* files_;
    QComboBox* history_;
    QLabel* count_;
    QMenu* menu_ = nullptr;
    std::string chosen_;
};

// Runs the folder browser; the chosen folder (ending in a separator) or empty.
std::string BrowseFolder(const std::string& initialFolder, const std::string& caption,
                         SettingsStore& settings, QWidget* parent = nullptr);
