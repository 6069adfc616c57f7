#include "app/CAppDoc.h"

#include "support/SettingsStore.h"

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

bool CAppDoc::OpenDocument(const std::string& path) {
    LoadSettingsOnce();
    const bool opened = archive_.OpenArchive(path);
    if (opened) NoteOpened(path);
    emit Updated();
    return opened;
}

void CAppDoc::NoteOpened(const std::string& path) {
    settings_.SetLast(path);
    recent_.Add(path);
    recent_.Save(store_);
    emit RecentChanged();
    emit TitleChanged();
}
