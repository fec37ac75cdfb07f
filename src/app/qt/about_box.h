// The About box: template 100 with the application icon, built like the panel.
#pragma once

#include <vector>

#include <QDialog>

#include "app/qt/dialog_builder.h"

namespace orvane {

class AboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // The widget of the control at the index in template order, or nullptr.
    QWidget* controlWidgetAt(std::size_t index) const;

private:
    void showBuildVersion();
    void makeRoomForText();

    std::vector<BuiltControl> controls_;
};

} // namespace orvane
