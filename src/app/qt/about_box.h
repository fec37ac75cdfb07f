// The About box: template 100 with the application icon, built like the panel.
#pragma once

#include <optional>
#include <vector>

#include <QDialog>
#include <QLabel>
#include <QString>

#include "app/qt/dialog_builder.h"

namespace orvane {

// The working folder the menu launcher chose (ORVANE_WORKING_FOLDER, when it is the current
// directory); nothing for a program started elsewhere.
std::optional<QString> launcherWorkingFolder();

class AboutBox final : public QDialog {
    Q_OBJECT
public:
    // With a working folder, a second line under the text names it.
    explicit AboutBox(QWidget* parent = nullptr,
                      const std::optional<QString>& workingFolder = launcherWorkingFolder());

    // The widget of the control at the index in template order, or nullptr.
    QWidget* controlWidgetAt(std::size_t index) const;
    // The working folder line, or nullptr.
    QLabel* workingFolderLine() const { return workingFolderLine_; }

private:
    void showBuildVersion();
    void makeRoomForText();
    void addWorkingFolderLine(const QString& folder);

    std::vector<BuiltControl> controls_;
    QLabel* workingFolderLine_ = nullptr;
};

} // namespace orvane
