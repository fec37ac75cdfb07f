// StudioSettings: the studio's own remembered state (window geometry, recent files) in
// orvane-studio.conf. The file is looked at before Qt reads it: one that is not a regular file or
// is far larger than the studio ever writes is left alone, and the studio starts from defaults.
#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

namespace orvane {

class StudioSettings {
public:
    // The file in the user's configuration folder: XDG_CONFIG_HOME, else HOME/.config, else the
    // home folder of the password database. Under sudo, once root is given up, the invoking
    // user's own folder, never root's.
    static QString standardPath();

    explicit StudioSettings(const QString& path = standardPath());
    ~StudioSettings();

    const QString& path() const { return path_; }
    // Why the file is not used (empty when it is): nothing is read from it or saved in it.
    const QString& problem() const { return problem_; }

    // The file is read and kept.
    bool usable() const { return settings_ != nullptr; }
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    // Writes the file now; false with problem() saying why when it could not be written.
    bool save();

private:
    QString path_;
    QString problem_;
    std::unique_ptr<QSettings> settings_;
};

} // namespace orvane
