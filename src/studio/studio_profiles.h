// StudioProfiles: the studio's settings files. Saving and opening profiles, the named profiles
// beside the studio's own settings, the files opened or saved lately, and the settings a session
// ends with, asked for again at the next start.
#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QStringList>

#include <orvane/profile.h>

#include "studio_settings.h"

namespace orvane {

class StudioProfiles final : public QObject {
    Q_OBJECT
public:
    // values: the controls in force, which the window keeps and outlives this.
    StudioProfiles(StudioSettings& settings, const ControlValues& values, QWidget* window);

    // The File menu's Open recent and Profiles, and the Camera menu's keep-settings switch.
    void fillMenus(QMenu* recentMenu, QMenu* profilesMenu);
    QAction* keepSettingsAction() const { return keepSettingsAction_; }

    // The controls in force as a profile at path; false with the reason noted.
    bool save(const QString& path);
    // Asks for the settings of a profile (or an earlier studio's command file) at path.
    bool open(const QString& path);
    // The camera has started: the settings the last session ended with are asked for on top of
    // the values in force unless fromDefaults or the user chose otherwise.
    void startWith(bool fromDefaults);
    // Keeps the settings this session ends with, and whether to ask for them at the next start.
    void keepSession();
    // Where named profiles are kept: a folder beside the studio's own settings.
    QString folder() const;

signals:
    void settingsRequested(const orvane::ControlChanges& changes);
    void note(const QString& text);

private:
    // Asks for what a profile changes against the values in force; false when nothing.
    bool askFor(const ProfileReading& reading);
    void rememberRecent(const QString& path);
    void rebuildRecentMenu();
    void rebuildProfilesMenu();
    void saveAs();
    QStringList recentFiles() const;

    StudioSettings& settings_;
    const ControlValues& values_;
    QWidget* window_;
    QMenu* recentMenu_ = nullptr;
    QMenu* profilesMenu_ = nullptr;
    QAction* keepSettingsAction_ = nullptr;
};

} // namespace orvane
