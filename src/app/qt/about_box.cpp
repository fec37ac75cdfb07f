// The About box: OK, Escape and the window's Close all end it.
#include "app/qt/about_box.h"

#include <QLabel>
#include <QPushButton>

#include "app/qt/icon_image.h"
#include "resources/build_version.h"
#include "resources/panel_templates.h"
#include "toolkit/panel_event.h"

namespace orvane {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    controls_ = buildDialog(*this, aboutTemplate, iconImage(appIconId));
    setWindowIcon(windowIconFor(appIconId));
    showBuildVersion();
    makeRoomForText();
    if (const BuiltControl* ok = findBuilt(controls_, okCommand)) {
        if (auto* button = qobject_cast<QPushButton*>(ok->widget))
            connect(button, &QPushButton::clicked, this, &QDialog::accept);
    }
}

void AboutBox::showBuildVersion() {
    // The written line stays as it is; the build it comes from follows it.
    for (const BuiltControl& text : controls_) {
        if (auto* label = qobject_cast<QLabel*>(text.widget);
            label != nullptr && text.source->kind == ControlKind::StaticText) {
            label->setText(label->text() +
                           QStringLiteral(" (build %1)")
                               .arg(QString::fromUtf8(buildVersion.data(), buildVersion.size())));
        }
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

QWidget* AboutBox::controlWidgetAt(std::size_t index) const {
    return index < controls_.size() ? controls_[index].widget : nullptr;
}

} // namespace orvane
