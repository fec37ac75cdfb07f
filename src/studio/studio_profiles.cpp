// The studio's profiles, recent files and kept session settings.
#include "studio_profiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSaveFile>

#include <orvane/camera.h>

namespace orvane {
namespace {

constexpr int maxRecentFiles = 8;
// A saved path longer than this was not saved here.
constexpr qsizetype maxPathLength = 4096;

QString settingsKey(const char* key) {
    return QString::fromLatin1(key);
}

std::string profileOf(const ControlValues& values) {
    const QString date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    return settingsProfile(values, date.toStdString(), version());
}

} // namespace

StudioProfiles::StudioProfiles(StudioSettings& settings, const ControlValues& values,
                               QWidget* window)
    : QObject(window), settings_(settings), values_(values), window_(window) {
    keepSettingsAction_ = new QAction(QStringLiteral("&Keep settings between sessions"), this);
    keepSettingsAction_->setCheckable(true);
    const QVariant keep = settings_.value(settingsKey("keepCameraSettings"));
    keepSettingsAction_->setChecked(keep.typeId() != QMetaType::Bool || keep.toBool());
    keepSettingsAction_->setToolTip(
        QStringLiteral("At the next start, send the settings this session ends with"));
}

void StudioProfiles::fillMenus(QMenu* recentMenu, QMenu* profilesMenu) {
    recentMenu_ = recentMenu;
    profilesMenu_ = profilesMenu;
    connect(profilesMenu_, &QMenu::aboutToShow, this, &StudioProfiles::rebuildProfilesMenu);
    rebuildProfilesMenu();
    rebuildRecentMenu();
}

bool StudioProfiles::save(const QString& path) {
    const std::string text = profileOf(values_);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        emit note(QStringLiteral("Settings not saved: %1: %2").arg(path, file.errorString()));
        return false;
    }
    rememberRecent(path);
    emit note(QStringLiteral("Settings saved in %1").arg(path));
    return true;
}

bool StudioProfiles::askFor(const ProfileReading& reading) {
    // What is in force already is not asked for again.
    const ControlChanges changes = changesFrom(reading.changes, values_);
    if (changes.empty())
        return false;
    emit settingsRequested(changes);
    return true;
}

bool StudioProfiles::open(const QString& path) {
    // Only a regular file of a profile's size: a FIFO would block the window.
    ProfileReading reading;
    if (const Status read = readSettingsProfileFile(path.toStdString(), reading); !read) {
        emit note(
            QStringLiteral("Settings not opened: %1").arg(QString::fromStdString(read.message())));
        return false;
    }
    rememberRecent(path);
    askFor(reading);
    if (reading.problems.empty())
        emit note(QStringLiteral("Settings loaded from %1").arg(path));
    else
        emit note(QStringLiteral("Settings loaded from %1; left out: %2")
                      .arg(path, QString::fromStdString(reading.problems.front())));
    return true;
}

void StudioProfiles::startWith(bool fromDefaults) {
    if (fromDefaults) {
        emit note(QStringLiteral("Started from every control's default (--defaults)"));
        return;
    }
    const QVariant saved = settings_.value(settingsKey("camera"));
    if (!keepSettingsAction_->isChecked() || saved.typeId() != QMetaType::QString)
        return;
    const QByteArray text = saved.toString().toUtf8();
    ProfileReading reading;
    if (const Status read = readSettingsProfile(
            std::string_view(text.constData(), std::size_t(text.size())), reading);
        !read) {
        emit note(QStringLiteral("The settings of the last session are not used: %1")
                      .arg(QString::fromStdString(read.message())));
        return;
    }
    if (askFor(reading))
        emit note(QStringLiteral("The settings the last session ended with are live again"));
}

void StudioProfiles::keepSession() {
    if (!values_.empty())
        settings_.setValue(settingsKey("camera"), QString::fromStdString(profileOf(values_)));
    settings_.setValue(settingsKey("keepCameraSettings"), keepSettingsAction_->isChecked());
}

QString StudioProfiles::folder() const {
    const QFileInfo file(settings_.path());
    return settings_.path().isEmpty() ? QString() : file.dir().filePath(QStringLiteral("profiles"));
}

void StudioProfiles::rebuildProfilesMenu() {
    profilesMenu_->clear();
    const QDir profiles(folder());
    const QStringList names = folder().isEmpty()
                                  ? QStringList()
                                  : profiles.entryList({QStringLiteral("*.txt")}, QDir::Files,
                                                       QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString path = profiles.filePath(name);
        profilesMenu_->addAction(QFileInfo(name).completeBaseName(), this,
                                 [this, path] { open(path); });
    }
    if (names.isEmpty())
        profilesMenu_->addAction(QStringLiteral("(none saved yet)"))->setEnabled(false);
    profilesMenu_->addSeparator();
    profilesMenu_->addAction(QStringLiteral("Save profile &as..."), this, &StudioProfiles::saveAs)
        ->setEnabled(!folder().isEmpty());
}

// A name of letters, digits, blanks, '-', '_' and '.', not starting with a dot, becomes
// NAME.txt in the profiles folder.
void StudioProfiles::saveAs() {
    bool ok = false;
    const QString name =
        QInputDialog::getText(window_, QStringLiteral("Save profile as"),
                              QStringLiteral("Name of the profile:"), QLineEdit::Normal, {}, &ok)
            .trimmed();
    if (!ok || name.isEmpty())
        return;
    static const QRegularExpression allowed(QStringLiteral("^[\\w][\\w .-]{0,63}$"));
    if (!allowed.match(name).hasMatch()) {
        emit note(QStringLiteral("Profile not saved: \"%1\" is not a name of up to 64 letters, "
                                 "digits, blanks, '-', '_' and '.'")
                      .arg(name));
        return;
    }
    if (!QDir().mkpath(folder())) {
        emit note(QStringLiteral("Profile not saved: %1 cannot be made").arg(folder()));
        return;
    }
    save(QDir(folder()).filePath(name + QStringLiteral(".txt")));
}

// The first few saved paths that can be paths at all.
QStringList StudioProfiles::recentFiles() const {
    const QVariant saved = settings_.value(settingsKey("recentFiles"));
    QStringList recent;
    if (saved.typeId() != QMetaType::QStringList && saved.typeId() != QMetaType::QString)
        return recent;
    for (const QString& path : saved.toStringList()) {
        if (recent.size() == maxRecentFiles)
            break;
        if (!path.isEmpty() && path.size() <= maxPathLength && !recent.contains(path))
            recent.append(path);
    }
    return recent;
}

void StudioProfiles::rememberRecent(const QString& path) {
    QStringList recent = recentFiles();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > maxRecentFiles)
        recent.removeLast();
    settings_.setValue(settingsKey("recentFiles"), recent);
    if (settings_.usable() && !settings_.save())
        emit note(QStringLiteral("Settings not kept: %1").arg(settings_.problem()));
    rebuildRecentMenu();
}

void StudioProfiles::rebuildRecentMenu() {
    recentMenu_->clear();
    const QStringList recent = recentFiles();
    for (const QString& path : recent)
        recentMenu_->addAction(path, this, [this, path] { open(path); });
    recentMenu_->setEnabled(!recent.isEmpty());
}

} // namespace orvane
