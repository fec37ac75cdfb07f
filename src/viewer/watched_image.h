// WatchedImage: the picture file the viewer shows, loaded again whenever the file changes.
#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

namespace orvane {

class WatchedImage : public QObject {
    Q_OBJECT

public:
    // Time a burst of file changes must stay quiet before the file is read again.
    static constexpr std::chrono::milliseconds defaultSettleTime{150};

    // Loads filePath (made absolute against the working directory) at once and starts watching it.
    explicit WatchedImage(const QString& filePath,
                          std::chrono::milliseconds settleTime = defaultSettleTime,
                          QObject* parent = nullptr);

    const QString& filePath() const { return filePath_; }
    // The last picture read; null when the file is missing or not a readable image.
    const QImage& image() const { return image_; }
    // Why image() is null, worded for the operator; empty when a picture is loaded.
    const QString& problem() const { return problem_; }
    // Whether a change has been seen and the reload is still waiting for the file to settle.
    bool reloadPending() const { return settleTimer_.isActive(); }

    // Switches to another file (made absolute) and loads it at once.
    void setFilePath(const QString& filePath);

public slots:
    // Reads the file now and emits reloaded().
    void reload();

signals:
    void reloaded();

private:
    struct FileStamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const FileStamp&) const = default;
    };

    FileStamp currentStamp() const;
    void watchFile();
    void onFileChanged();
    void onDirectoryChanged();

    QString filePath_;
    QImage image_;
    QString problem_;
    FileStamp loadedStamp_;
    QFileSystemWatcher watcher_;
    QTimer settleTimer_;
};

} // namespace orvane
