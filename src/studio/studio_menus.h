// The studio's actions (texts, keys, icons, tips), its menu bar and tool bar, and the help it
// shows. The window connects the actions to what they do.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>

namespace orvane {

struct StudioActions {
    QAction* open;
    QAction* save;
    QAction* snapshot;
    QAction* record;
    QAction* stopRecording;
    QAction* quit;
    QAction* fit;
    QAction* actualSize;
    QAction* crosshair;
    QAction* clearSelection;
    QAction* logScale;
    QAction* pause; // checked while paused
    QAction* reset;
    QAction* resetDefaults;
    QAction* shortcuts;
    QAction* manual;
    QAction* about;
};
StudioActions makeStudioActions(QObject* owner);

// The submenus others fill: the File menu's Open recent and Profiles, and the Camera menu, which
// grows with the simulated module's scenes.
struct StudioMenus {
    QMenu* recent;
    QMenu* profiles;
    QMenu* camera;
};
// The menu bar and the Live tool bar over actions; every dock's toggle goes in View, and
// keepSettings in Camera.
StudioMenus buildStudioMenus(QMainWindow& window, const StudioActions& actions,
                             QAction* keepSettings);

// Every action of window with a key, as the menus name it, and the picture's mouse gestures.
void showShortcuts(QWidget& window);
// Where the manual pages are.
void showManualPages(QWidget& window);

} // namespace orvane
