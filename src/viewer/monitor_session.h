// MonitorSession: one start of the viewer, which either hands over to a running viewer or becomes
// it.
#pragma once

#include <QString>

#include <memory>
#include <optional>

#include "single_instance.h"
#include "watched_image.h"

namespace orvane {

class MonitorWindow;

// The picture the viewer shows, in its working directory.
inline constexpr char monitorFileName[] = "testfile.bmp";

// The line a later start sends: show (and reload) this file.
QString openRequest(const QString& filePath);
// The file an open request names; nothing for any other line.
std::optional<QString> requestedFile(const QString& request);

class MonitorSession {
public:
    enum class Outcome {
        handedOver, // a running viewer took the file; this start is done
        running,    // this start is the running viewer and its window is shown
    };

    MonitorSession(const QString& serverName, const QString& filePath);
    ~MonitorSession();

    Outcome start();

    SingleInstance& instance() { return instance_; }
    // The picture and the window, once start() made this the running viewer.
    WatchedImage* image() const { return image_.get(); }
    MonitorWindow* window() const { return window_.get(); }

private:
    void openRequested(const QString& request);

    QString filePath_;
    SingleInstance instance_;
    std::unique_ptr<WatchedImage> image_;
    std::unique_ptr<MonitorWindow> window_;
};

// Runs the viewer for filePath under serverName (none when empty: the viewer runs alone);
// returns the process exit status. Needs a QApplication.
int runMonitor(const QString& serverName, const QString& filePath);

} // namespace orvane
