#include "app/TextWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <span>

#include "support/Messages.h"
#include "support/Paths.h"
#include "support/SafeFileWriter.h"
#include "support/UserInterface.h"

TextWindow::TextWindow(const QString& title, const QString& text, const std::string& path,
                       QWidget* parent)
    : QDialog(parent), path_(path), text_(new QPlainTextEdit(this)), desktop_(nullptr) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    text_->setReadOnly(true);
    text_->setPlainText(text);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(text_, 1);
    auto* buttons = new QDialogButtonBox(this);
    auto* save = buttons->addButton("&Save...", QDialogButtonBox::ActionRole);
    auto* copy = buttons->addButton("&Copy", QDialogButtonBox::ActionRole);
    if (!path_.empty()) {
        desktop_ =
            buttons->addButton("Open with the &desktop's program", QDialogButtonBox::ActionRole);
        connect(desktop_, &QPushButton::clicked, this, &TextWindow::OpenWithDesktop);
    }
    auto* close = buttons->addButton(QDialogButtonBox::Close);
    connect(save, &QPushButton::clicked, this, &TextWindow::Save);
    connect(copy, &QPushButton::clicked, this, &TextWindow::Copy);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(buttons);
    const QRect screen = QApplication::primaryScreen()
                             ? QApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 800, 600);
    resize(std::min(720, screen.width() * 9 / 10), std::min(520, screen.height() * 8 / 10));
}

QString TextWindow::Text() const {
    return text_->toPlainText();
}

bool TextWindow::Save() {
    const std::string proposed =
        path_.empty() ? (saveFolder_.empty() ? std::string() : AsFolder(saveFolder_)) + "*.txt"
                      : SplitPath(path_, kPathFolder) + "*.txt";
    const std::string path = CurrentUserInterface().ChooseSaveFile(
        {proposed, "Save text as", "Text files |*.txt", ".txt"});
    if (path.empty()) return false;
    const QByteArray bytes = Text().toUtf8();
    return WriteWholeFile(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())));
}

void TextWindow::Copy() {
    QApplication::clipboard()->setText(Text());
}

bool TextWindow::OpenWithDesktop() {
    if (path_.empty()) return false;
    if (CurrentUserInterface().OpenWithDesktop(path_)) return true;
    ShowError("No program of the desktop opened [%s]", path_.c_str());
    return false;
}

TextWindow* ShowTextWindow(const QString& title, const QString& text, const std::string& path,
                           QWidget* parent) {
    auto* window = new TextWindow(title, text, path, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

TextWindow* ShowTextFileWindow(const std::string& path, QWidget* parent) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ReportOpenError(path);
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ReportReadError(path);
        return nullptr;
    }
    return ShowTextWindow(QString::fromStdString(SplitPath(path, kPathFileName)),
                          QString::fromUtf8(bytes), path, parent);
}
