#include "app/CAppDoc.h"

#include <QDir>
#include <QFileInfo>

#include "support/SettingsStore.h"

namespace {

// A path as given on the command line is relative to the folder the program
// was started in; remembered like that, it would name another file, or none,
// in the next run.
std::string Absolute(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    if (path.empty() || info.isAbsolute()) return path;
    return QDir::toNativeSeparators(info.absoluteFilePath()).toStdString();
}

}  // namespace

CAppDoc::CAppDoc(SettingsStore& store) : store_(store) {
    recent_.Load(store_);
}

CAppDoc::~CAppDoc() {
    if (!settingsLoaded_) return;
    settings_.Save(store_);
    recent_.Save(store_);
}

void CAppDoc::LoadSettingsOnce() {
    if (settingsLoaded_) return;
    settingsLoaded_ = true;
    settings_.Load(store_);
}

bool CAppDoc::OpenDocument(const std::string& given) {
    LoadSettingsOnce();
    const std::string path = Absolute(given);
    const bool opened = archive_.OpenArchive(path);
    if (opened) NoteOpened(path);
    emit Updated();
    return opened;
}

void CAppDoc::NoteOpened(const std::string& given) {
    const std::string path = Absolute(given);
    changes_.Watch(ChangeTracker::kArchive, path);
    settings_.SetLast(path);
    recent_.Add(path);
    recent_.Save(store_);
    emit RecentChanged();
    emit TitleChanged();
}
