#include "browse/FolderBrowserDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "browse/FolderOperations.h"
#include "browse/FolderTreeView.h"
#include "support/Messages.h"
#include "support/Paths.h"

namespace {

constexpr int kHistoryEntries = 50;
constexpr int kHistoryLines = 20;

}  // namespace

FolderBrowserDialog::FolderBrowserDialog(const std::string& initialFolder,
                                         const std::string& caption, SettingsStore& settings,
                                         QWidget* parent)
    : QDialog(parent),
      history_model_(settings),
      tree_(new FolderTreeView(this)),
      files_(new QListWidget(this)),
      history_(new QComboBox(this)),
      count_(new QLabel("Files in selected folder", this)) {
    setWindowTitle("Folder Browser");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromStdString(caption), this));
    auto* historyRow = new QHBoxLayout;
    historyRow->addWidget(new QLabel("Folder", this));
    history_->setEditable(true);
    history_->setInsertPolicy(QComboBox::NoInsert);
    history_->setMaxVisibleItems(kHistoryLines);
    historyRow->addWidget(history_, 1);
    layout->addLayout(historyRow);
    auto* buttons = new QHBoxLayout;
    BuildButtons(buttons);
    layout->addLayout(buttons);
    auto* lists = new QHBoxLayout;
    lists->addWidget(tree_, 3);
    files_->setSortingEnabled(true);
    lists->addWidget(files_, 2);
    layout->addLayout(lists, 1);
    layout->addWidget(count_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &FolderBrowserDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &FolderBrowserDialog::reject);
    layout->addWidget(box);
    resize(640, 480);

    history_model_.SetMaximum(kHistoryEntries);
    history_model_.SetExistenceCheck(true);
    history_model_.Load();
    for (const std::string& entry : history_model_.Entries())
        history_->addItem(QString::fromStdString(entry));
    if (history_->count() > 0) history_->setCurrentIndex(0);
    connect(history_, qOverload<int>(&QComboBox::activated), this,
            &FolderBrowserDialog::HistoryChosen);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderBrowserDialog::CurrentChanged);
    connect(tree_, &FolderTreeView::FolderDropped, this, &FolderBrowserDialog::CurrentChanged);
    connect(tree_->Model(), &QFileSystemModel::fileRenamed, this,
            &FolderBrowserDialog::CurrentChanged);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = tree_->indexAt(at);
        if (index.isValid()) tree_->setCurrentIndex(index);
        FolderMenu()->popup(tree_->viewport()->mapToGlobal(at));
    });
    tree_->SelectFolder(QString::fromStdString(
        initialFolder.empty() ? QDir::homePath().toStdString() : initialFolder));
    CurrentChanged();
    // Typing goes into the folder box at once, not into the tree's keyboard search.
    history_->setFocus();
    history_->lineEdit()->selectAll();
}

void FolderBrowserDialog::BuildButtons(QLayout* row) {
    struct Button {
        QStyle::StandardPixmap icon;
        const char* tip;
        void (FolderBrowserDialog::*action)();
    };
    const Button buttons[] = {
        {QStyle::SP_FileDialogNewFolder, "Create a new folder\nwithin selected one",
         &FolderBrowserDialog::CreateFolder},
        {QStyle::SP_FileDialogToParent, "", &FolderBrowserDialog::GoToParent},
        {QStyle::SP_FileDialogInfoView, "Folder properties", &FolderBrowserDialog::ShowProperties},
        {QStyle::SP_TrashIcon, "Remove selected folder", &FolderBrowserDialog::DeleteFolder},
        {QStyle::SP_FileDialogDetailedView, "Change folder name",
         &FolderBrowserDialog::RenameFolder},
    };
    for (const Button& b : buttons) {
        auto* button = new QToolButton(this);
        button->setIcon(style()->standardIcon(b.icon));
        button->setToolTip(b.tip);
        connect(button, &QToolButton::clicked, this, b.action);
        row->addWidget(button);
    }
    static_cast<QHBoxLayout*>(row)->addStretch(1);
}

QMenu* FolderBrowserDialog::FolderMenu() {
    if (menu_) return menu_;
    menu_ = new QMenu(this);
    menu_->addAction(style()->standardIcon(QStyle::SP_FileDialogNewFolder), "&Create folder", this,
                     &FolderBrowserDialog::CreateFolder);
    menu_->addAction("&Rename", this, &FolderBrowserDialog::RenameFolder);
    menu_->addAction(style()->standardIcon(QStyle::SP_TrashIcon), "&Delete", this,
                     &FolderBrowserDialog::DeleteFolder);
    menu_->addSeparator();
    menu_->addAction(style()->standardIcon(QStyle::SP_FileDialogInfoView), "&Properties", this,
                     &FolderBrowserDialog::ShowProperties);
    return menu_;
}

void FolderBrowserDialog::CurrentChanged() {
    const QString folder = tree_->CurrentFolder();
    if (folder.isEmpty()) return;
    history_->setEditText(folder);
    files_->clear();
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    files_->addItems(names);
    count_->setText(QString::fromStdString(
        FormatText("%d files on selected folder", static_cast<int>(names.size()))));
}

void FolderBrowserDialog::CreateFolder() {
    const QString parent = tree_->CurrentFolder();
    if (parent.isEmpty()) return;
    std::string created;
    if (!::CreateNewFolder(parent.toStdString(), created)) return;
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = tree_->indexAt(at);
        if (index.isValid()) tree_->setCurrentIndex(index);
        FolderMenu()->popup(tree_->viewport()->mapToGlobal(at));
    });
    tree_->SelectFolder(QString::fromStdString(created));
    tree_->edit(tree_->currentIndex());  // the user names the folder at once
}

void FolderBrowserDialog::RenameFolder() {
    const QModelIndex index = tree_->currentIndex();
    if (index.isValid() && index.parent().isValid()) tree_->edit(index);
}

void FolderBrowserDialog::DeleteFolder() {
    const QModelIndex index = tree_->currentIndex();
    if (!index.isValid() || !index.parent().isValid()) return;  // never a drive root
    const std::string folder = tree_->CurrentFolder().toStdString();
    const bool permanently = QApplication::keyboardModifiers() & Qt::ShiftModifier;
    if (!AskYesNo(permanently ? "Delete %s for good?" : "Move %s to the trash?", folder.c_str()))
        return;
    tree_->setCurrentIndex(index.parent());
    if (!::DeleteFolder(folder, permanently)) tree_->setCurrentIndex(index);
    CurrentChanged();
}

void FolderBrowserDialog::ShowProperties() {
    const QString folder = tree_->CurrentFolder();
    if (!folder.isEmpty()) ShowInfo("%s", FolderProperties(folder.toStdString()).c_str());
}

void FolderBrowserDialog::GoToParent() {
    const QModelIndex parent = tree_->currentIndex().parent();
    if (parent.isValid()) tree_->setCurrentIndex(parent);
}

void FolderBrowserDialog::HistoryChosen(int index) {
    history_->setEditText(history_->itemText(index));
    accept();
}

// The folder box holds the tree's folder, a history entry or what the user
// typed there: that text is the choice.
void FolderBrowserDialog::accept() {
    const QString text = history_->currentText().trimmed();
    const std::string folder =
        text.isEmpty()
            ? tree_->CurrentFolder().toStdString()
            : ConfirmTypedFolder(text.toStdString(), tree_->CurrentFolder().toStdString());
    if (folder.empty()) return;
    chosen_ = folder;
    history_->setEditText(QString::fromStdString(folder));
    history_model_.Save(chosen_, true);
    QDialog::accept();
}

std::string BrowseFolder(const std::string& initialFolder, const std::string& caption,
                         SettingsStore& settings, QWidget* parent) {
    FolderBrowserDialog dialog(initialFolder, caption, settings, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.ChosenFolder() : std::string();
}
