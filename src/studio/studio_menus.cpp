// The studio's actions, menus, tool bar and help.
#include "studio_menus.h"

#include <QDockWidget>
#include <QIcon>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>

namespace orvane {
namespace {

QAction* action(QObject* owner, const char* text, QKeySequence key = {}, const char* icon = nullptr,
                const char* tip = nullptr) {
    auto* made = new QAction(QString::fromUtf8(text), owner);
    made->setShortcut(key);
    if (icon != nullptr)
        made->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
    if (tip != nullptr)
        made->setToolTip(QString::fromUtf8(tip));
    return made;
}

} // namespace

StudioActions makeStudioActions(QObject* owner) {
    StudioActions a{};
    a.open = action(owner, "&Open settings...", QKeySequence::Open);
    a.save = action(owner, "Save s&ettings...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    a.snapshot = action(owner, "&Snapshot", QKeySequence(Qt::CTRL | Qt::Key_S), "camera-photo");
    a.record = action(owner, "&Record...", QKeySequence(Qt::CTRL | Qt::Key_R), "media-record",
                      "Record the frames as PNG, raw bytes and settings");
    a.stopRecording =
        action(owner, "S&top recording", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    a.stopRecording->setEnabled(false);
    a.quit = action(owner, "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q));
    a.fit = action(owner, "&Fit to window", Qt::Key_F, "zoom-fit-best");
    a.actualSize = action(owner, "&Actual size (1:1)", Qt::Key_1, "zoom-original");
    a.crosshair = action(owner, "&Crosshair", Qt::Key_C);
    a.crosshair->setCheckable(true);
    a.clearSelection = action(owner, "Clear the &selection", Qt::Key_Escape, nullptr,
                              "Shift and drag on the picture to select");
    // Esc belongs to the picture once clicked, so it still cancels an edit elsewhere.
    a.clearSelection->setShortcutContext(Qt::WidgetShortcut);
    a.logScale = action(owner, "Histogram on a &log scale");
    a.logScale->setCheckable(true);
    a.pause = action(owner, "&Pause", Qt::Key_Space, "media-playback-pause",
                     "Hold the live picture; again to go on (Space)");
    a.pause->setCheckable(true);
    a.reset = action(owner, "Re&set", {}, "view-refresh",
                     "Reset the sensor, then send the current settings to it again");
    a.resetDefaults = action(owner, "Reset to &defaults", {}, nullptr,
                             "Reset the sensor and leave every control at its default");
    a.shortcuts = action(owner, "&Keyboard shortcuts", QKeySequence::HelpContents);
    a.manual = action(owner, "&Manual pages");
    a.about = action(owner, "&About Orvane Studio");
    return a;
}

StudioMenus buildStudioMenus(QMainWindow& window, const StudioActions& a, QAction* keepSettings) {
    StudioMenus menus{};
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(a.open);
    menus.recent = file->addMenu(QStringLiteral("Open &recent"));
    file->addAction(a.save);
    menus.profiles = file->addMenu(QStringLiteral("&Profiles"));
    file->addSeparator();
    file->addActions({a.snapshot, a.record, a.stopRecording});
    file->addSeparator();
    file->addAction(a.quit);

    QMenu* view = window.menuBar()->addMenu(QStringLiteral("&View"));
    view->addActions({a.fit, a.actualSize, a.crosshair, a.clearSelection, a.logScale});
    view->addSeparator();
    for (QDockWidget* dock : window.findChildren<QDockWidget*>())
        view->addAction(dock->toggleViewAction());

    menus.camera = window.menuBar()->addMenu(QStringLiteral("&Camera"));
    menus.camera->addActions({a.pause, a.reset, a.resetDefaults});
    menus.camera->addSeparator();
    menus.camera->addAction(keepSettings);

    QMenu* help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    help->addActions({a.shortcuts, a.manual});
    help->addSeparator();
    help->addAction(a.about);

    QToolBar* tools = window.addToolBar(QStringLiteral("Live"));
    tools->setObjectName(QStringLiteral("live"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tools->addActions({a.pause, a.snapshot, a.record, a.reset, a.fit, a.actualSize});
    return menus;
}

void showShortcuts(QWidget& window) {
    QString text;
    for (const QAction* action : window.findChildren<QAction*>()) {
        if (action->shortcut().isEmpty())
            continue;
        text += QStringLiteral("%1\t%2\n")
                    .arg(action->shortcut().toString(QKeySequence::NativeText),
                         action->text().remove(QLatin1Char('&')));
    }
    text += QStringLiteral("Wheel over the picture\tzoom about the pointer\n"
                           "Shift and drag on the picture\tselect: mean, minimum, maximum\n"
                           "Drag the enlarged picture\tmove it\n"
                           "Wheel over a control\tchange it, once it has the focus (click or "
                           "Tab); otherwise the dock scrolls");
    QMessageBox::information(&window, QStringLiteral("Keyboard shortcuts"), text);
}

void showManualPages(QWidget& window) {
    QMessageBox::information(
        &window, QStringLiteral("Manual pages"),
        QStringLiteral("In a terminal: man orvane-studio (this program), man orvane-panel, "
                       "man orvane-cli, man monitor.exe and man orvane-launch.\n\nThe package "
                       "installs them in /usr/share/man/man1; in the source they are in "
                       "packaging/man, readable with man -l."));
}

} // namespace orvane
