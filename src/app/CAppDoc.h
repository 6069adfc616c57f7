#pragma once
// The document: the one open archive, the remembered settings and the recent
// archives. Views are told to update whenever an archive has been opened.

#include <QObject>
#include <string>

#include "app/AppSettings.h"
#include "app/ChangeTracker.h"
#include "app/RecentFiles.h"
#include "archive/DatArchive.h"

class SettingsStore;

class CAppDoc : public QObject {
    Q_OBJECT
public:
    explicit CAppDoc(SettingsStore& store);
    // Saves the settings.
    ~CAppDoc() override;

    // Loads the settings the first time it is called.
    void LoadSettingsOnce();
    // Opens the archive (a relative path from the current folder); on success
    // it becomes "Last" and joins the recent list.
    // The views are told to update either way.
    bool OpenDocument(const std::string& path);
    void UpdateAllViews() { emit Updated(); }
    // Remembers a path as opened (the view's own Open and the repack do that),
    // always as an absolute path.
    void NoteOpened(const std::string& path);

    DatArchive& Archive() { return archive_; }
    AppSettings& Settings() { return settings_; }
    const RecentFiles& Recent() const { return recent_; }
    SettingsStore& Store() { return store_; }
    // The watched files and the change that Edit > Undo would undo.
    ChangeTracker& Changes() { return changes_; }

signals:
    void Updated();
    void RecentChanged();
    void TitleChanged();

private:
    SettingsStore& store_;
    DatArchive archive_;
    AppSettings settings_;
    RecentFiles recent_;
    ChangeTracker changes_;
    bool settingsLoaded_ = false;
};
