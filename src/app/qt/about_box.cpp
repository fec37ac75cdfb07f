// The About box: OK, Escape and the window's Close all end it.
#include "app/qt/about_box.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/qt/icon_image.h"
#include "files/launcher_folder.h"
#include "resources/about_line.h"
#include "resources/panel_templates.h"
#include "toolkit/panel_event.h"

namespace orvane {

std::optional<QString> launcherWorkingFolder() {
    std::error_code error;
    const std::optional<std::filesystem::path> folder =
        launcherWorkingFolder(std::filesystem::current_path(error));
    if (!folder)
        return std::nullopt;
    return QString::fromStdString(folder->string());
}

AboutBox::AboutBox(QWidget* parent, const std::optional<QString>& workingFolder) : QDialog(parent) {
    controls_ = buildDialog(*this, aboutTemplate, iconImage(appIconId));
    setWindowIcon(windowIconFor(appIconId));
    showBuildVersion();
    makeRoomForText();
    if (workingFolder)
        addWorkingFolderLine(*workingFolder);
    if (const BuiltControl* ok = findBuilt(controls_, okCommand)) {
        if (auto* button = qobject_cast<QPushButton*>(ok->widget))
            connect(button, &QPushButton::clicked, this, &QDialog::accept);
    }
}

void AboutBox::showBuildVersion() {
    // The written line names the program; the version of this build and the licence follow.
    for (const BuiltControl& text : controls_) {
        if (auto* label = qobject_cast<QLabel*>(text.widget);
            label != nullptr && text.source->kind == ControlKind::StaticText)
            label->setText(QString::fromStdString(aboutLine(label->text().toStdString())));
    }
}

void AboutBox::makeRoomForText() {
    // The version line is longer in the Linux fonts than the template allows before OK; the box
    // widens and everything right of the text moves over by what the text lacks.
    for (const BuiltControl& text : controls_) {
        if (text.source->kind != ControlKind::StaticText)
            continue;
        const int shortfall = captionWidth(*text.widget) - text.widget->width();
        if (shortfall <= 0)
            continue;
        text.widget->resize(text.widget->width() + shortfall, text.widget->height());
        for (const BuiltControl& other : controls_) {
            if (other.placed.left() >= text.placed.right())
                other.widget->move(other.widget->x() + shortfall, other.widget->y());
        }
        setFixedSize(width() + shortfall, height());
    }
}

void AboutBox::addWorkingFolderLine(const QString& folder) {
    const BuiltControl* text = nullptr;
    for (const BuiltControl& control : controls_) {
        if (control.source->kind == ControlKind::StaticText)
            text = &control;
    }
    if (text == nullptr)
        return;
    // Under the version line, the box growing to hold it with the margin the text has.
    const QRect above = text->widget->geometry();
    workingFolderLine_ = new QLabel(QStringLiteral("Working folder: %1").arg(folder), this);
    workingFolderLine_->move(above.left(), above.bottom() + 1 + above.height() / 2);
    workingFolderLine_->adjustSize();
    const QRect line = workingFolderLine_->geometry();
    setFixedSize(std::max(width(), line.right() + 1 + above.left()),
                 std::max(height(), line.bottom() + 1 + above.top()));
}

QWidget* AboutBox::controlWidgetAt(std::size_t index) const {
    return index < controls_.size() ? controls_[index].widget : nullptr;
}

} // namespace orvane
