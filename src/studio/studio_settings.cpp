// The studio's settings file: found in the right home, checked before Qt opens it.
#include "studio_settings.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include <cstdlib>

namespace orvane {
namespace {

// Eight recent paths, a geometry and a window state take a few kilobytes.
constexpr qint64 maxSettingsFileBytes = 256 * 1024;

QString absoluteFolder(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr || value[0] != '/')
        return {};
    return QString::fromLocal8Bit(value);
}

bool ownedByUs(const QString& folder) {
    struct stat status {};
    return ::stat(QFile::encodeName(folder).constData(), &status) == 0 &&
           status.st_uid == ::getuid();
}

QString passwordHome() {
    const passwd* entry = ::getpwuid(::getuid());
    if (entry == nullptr || entry->pw_dir == nullptr || entry->pw_dir[0] != '/')
        return {};
    return QString::fromLocal8Bit(entry->pw_dir);
}

QString configurationFolder() {
    // A sudo start has given up root by now; HOME and XDG_CONFIG_HOME may still be root's.
    const bool sudoRun = std::getenv("SUDO_UID") != nullptr && ::getuid() != 0;
    const QString xdg = absoluteFolder("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && (!sudoRun || ownedByUs(xdg)))
        return xdg;
    const QString home = absoluteFolder("HOME");
    if (!home.isEmpty() && (!sudoRun || ownedByUs(home)))
        return home + QStringLiteral("/.config");
    const QString own = passwordHome();
    return own.isEmpty() ? QString() : own + QStringLiteral("/.config");
}

// Empty when the file may be read: missing, or a regular file of a sane size.
QString refusal(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    if (!S_ISREG(status.st_mode))
        return QStringLiteral("%1 is not a regular file").arg(path);
    if (status.st_size > maxSettingsFileBytes)
        return QStringLiteral("%1 is larger than any settings the studio writes").arg(path);
    return {};
}

} // namespace

QString StudioSettings::standardPath() {
    const QString folder = configurationFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/Orvane/orvane-studio.conf");
}

StudioSettings::StudioSettings(const QString& path) : path_(path) {
    problem_ =
        path.isEmpty() ? QStringLiteral("no home folder to keep settings in") : refusal(path);
    if (problem_.isEmpty())
        settings_ = std::make_unique<QSettings>(path, QSettings::NativeFormat);
}

StudioSettings::~StudioSettings() = default;

QVariant StudioSettings::value(const QString& key) const {
    return settings_ != nullptr ? settings_->value(key) : QVariant();
}

void StudioSettings::setValue(const QString& key, const QVariant& value) {
    if (settings_ != nullptr)
        settings_->setValue(key, value);
}

bool StudioSettings::save() {
    if (settings_ == nullptr)
        return false;
    settings_->sync();
    if (settings_->status() == QSettings::NoError)
        return true;
    problem_ = QStringLiteral("%1 cannot be written").arg(path_);
    return false;
}

} // namespace orvane
