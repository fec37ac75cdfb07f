// Widgets from dialog templates: one widget per control row, placed by dialog units.
#include "app/qt/dialog_builder.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

#include "app/qt/panel_widgets.h"
#include "toolkit/panel_event.h"

namespace orvane {
namespace {

// The templates were laid out for a narrow 8-point bitmap font. Two points more of a Linux
// sans-serif font read well, and the template's widths then hold the captions and the wider
// radio indicators of Qt's styles.
constexpr int extraPointSize = 2;

// Space kept between a widened caption and the control to its right, and between a caption and
// the right edge of the group box around it (dialog units).
constexpr int captionGapUnits = 1;

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool has(const ControlTemplate& control, uint32_t style) {
    return (control.style & style) != 0;
}

QWidget* createWidget(QDialog& dialog, const DialogUnits& units, const ControlTemplate& control,
                      const QImage& icon) {
    const QString caption = qText(control.caption);
    switch (control.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(caption, &dialog);
        // Enter is the dialog's business, never the focused button's.
        button->setAutoDefault(false);
        button->setDefault(has(control, ControlStyle::defaultButton) && control.id == okCommand);
        return button;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(&dialog);
        if (has(control, ControlStyle::digitsOnly)) {
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
        }
        return edit;
    }
    case ControlKind::RadioButton: {
        auto* radio = new PanelRadioButton(caption, &dialog);
        radio->setAutoExclusive(false);
        if (has(control, ControlStyle::leftText))
            radio->setLayoutDirection(Qt::RightToLeft);
        return radio;
    }
    case ControlKind::Slider:
        return new PanelSlider(&dialog);
    case ControlKind::StaticText: {
        auto* label = new QLabel(caption, &dialog);
        label->setTextFormat(Qt::PlainText);
        // A static text as tall as two lines wraps its words; one centred vertically does not.
        label->setWordWrap(!has(control, ControlStyle::centerVertically) &&
                           units.toPixelsY(control.rect.height) >=
                               2 * label->fontMetrics().height());
        label->setAlignment(
            Qt::AlignLeft |
            (has(control, ControlStyle::centerVertically) ? Qt::AlignVCenter : Qt::AlignTop));
        return label;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(caption, &dialog);
    case ControlKind::Icon: {
        auto* label = new QLabel(&dialog);
        label->setPixmap(QPixmap::fromImage(icon));
        return label;
    }
    }
    return nullptr;
}

// Where the control sits: icons take the size of their image, as the template's icon controls do.
QRect placement(const DialogUnits& units, const ControlTemplate& control, const QImage& icon) {
    QRect rect = units.toPixels(control.rect);
    if (control.kind == ControlKind::Icon && !icon.isNull())
        rect.setSize(icon.size());
    return rect;
}

bool verticallyOverlap(const QRect& a, const QRect& b) {
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

// How far right a caption may reach: up to the nearest visible control to its right on the same
// rows, the group box around it, or the dialog's edge.
int widthRoom(const std::vector<BuiltControl>& controls, const BuiltControl& control, int gap,
              int dialogWidth) {
    const QRect& own = control.placed;
    int right = dialogWidth - gap;
    for (const BuiltControl& other : controls) {
        if (&other == &control || has(*other.source, ControlStyle::hidden))
            continue;
        const QRect& rect = other.placed;
        if (other.source->kind == ControlKind::GroupBox && rect.contains(own.center())) {
            right = std::min(right, rect.right() + 1 - gap);
        } else if (rect.left() > own.left() && verticallyOverlap(rect, own)) {
            right = std::min(right, rect.left() - gap);
        }
    }
    return std::max(own.width(), right - own.left());
}

} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = std::max(1, (alphabetWidth + 26) / 52);
    baseHeight_ = std::max(1, metrics.height());
}

int DialogUnits::toPixelsX(int units) const {
    return (units * baseWidth_ + 2) / 4;
}

int DialogUnits::toPixelsY(int units) const {
    return (units * baseHeight_ + 4) / 8;
}

QRect DialogUnits::toPixels(const DialogRect& rect) const {
    return {toPixelsX(rect.x), toPixelsY(rect.y), toPixelsX(rect.width), toPixelsY(rect.height)};
}

QFont dialogFont(const DialogTemplate& dialogTemplate) {
    QFont font = QApplication::font();
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(dialogTemplate.fontPointSize + extraPointSize);
    return font;
}

std::vector<BuiltControl> buildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate,
                                      const QImage& icon) {
    dialog.setWindowTitle(qText(dialogTemplate.title));
    dialog.setFont(dialogFont(dialogTemplate));
    const DialogUnits units(dialog.font());
    dialog.setFixedSize(units.toPixelsX(dialogTemplate.width),
                        units.toPixelsY(dialogTemplate.height));

    std::vector<BuiltControl> controls;
    controls.reserve(dialogTemplate.controls.size());
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = createWidget(dialog, units, control, icon);
        if (control.id != noControlId)
            widget->setObjectName(QStringLiteral("control%1").arg(control.id));
        const QRect placed = placement(units, control, icon);
        widget->setGeometry(placed);
        widget->setHidden(has(control, ControlStyle::hidden));
        widget->setEnabled(!has(control, ControlStyle::disabled));
        controls.push_back({&control, widget, placed, placed.width()});
    }

    const int gap = units.toPixelsX(captionGapUnits);
    for (BuiltControl& control : controls) {
        control.widthRoom = widthRoom(controls, control, gap, dialog.width());
        fitCaption(control);
        if (control.source->kind == ControlKind::GroupBox)
            control.widget->lower();
    }
    return controls;
}

int captionWidth(const QWidget& widget) {
    const auto* radio = qobject_cast<const QRadioButton*>(&widget);
    if (radio == nullptr)
        return widget.sizeHint().width();
    // The indicator and its spacing, plus the text; the focus frame's margin may go.
    QStyleOptionButton option;
    option.initFrom(radio);
    option.text = radio->text();
    const QRect contents =
        radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
    const QRect text = radio->style()->itemTextRect(radio->fontMetrics(), QRect(),
                                                    Qt::TextShowMnemonic, false, radio->text());
    return option.rect.width() - contents.width() + text.width();
}

void fitCaption(const BuiltControl& control) {
    const ControlKind kind = control.source->kind;
    const auto* label = qobject_cast<const QLabel*>(control.widget);
    if ((kind != ControlKind::StaticText && kind != ControlKind::RadioButton) ||
        (label != nullptr && label->wordWrap()))
        return;
    const int needed = captionWidth(*control.widget);
    const int width = std::clamp(needed, control.placed.width(), control.widthRoom);
    control.widget->resize(width, control.placed.height());
}

const BuiltControl* findBuilt(const std::vector<BuiltControl>& controls, int id) {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [id](const BuiltControl& c) { return c.source->id == id; });
    return found != controls.end() ? &*found : nullptr;
}

} // namespace orvane
