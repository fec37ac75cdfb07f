// The studio's controls.
#include "studio/controls_dock.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/cli/control_names.h"
#include "resources/control_ids.h"
#include "resources/panel_templates.h"
#include "sensor/slider_table.h"
#include "studio/command_lines.h"

namespace orvane {
namespace {

// A control's names as scripts know them: the caption first, the label's alias last.
QString firstName(int id) {
    return QString::fromStdString(
        controlNames(controlPanelTemplate, *findControl(controlPanelTemplate, id)).front());
}

QString lastName(int id) {
    return QString::fromStdString(
        controlNames(controlPanelTemplate, *findControl(controlPanelTemplate, id)).back());
}

QString groupOf(const ControlTemplate& control) {
    const std::vector<std::string> names = controlNames(controlPanelTemplate, control);
    for (const std::string& name : names) {
        const auto slash = name.find('/');
        if (slash != std::string::npos)
            return QString::fromStdString(name.substr(0, slash));
    }
    return {};
}

} // namespace

ControlsDock::ControlsDock(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    addRadioGroups(layout);
    addSliders(layout);
    addEditGroup(layout, firstName(1041),
                 {ControlId::windowHStart, ControlId::windowHEnd, ControlId::windowVStart,
                  ControlId::windowVEnd});
    addEditGroup(
        layout, firstName(1030),
        {ControlId::userRegisterNumber, ControlId::userRegisterValue, ControlId::clockPrescaler});
    layout->addStretch(1);
}

// One box per group of option buttons, in template order; 16 Bits stays disabled.
void ControlsDock::addRadioGroups(QVBoxLayout* layout) {
    QMap<QString, QHBoxLayout*> groups;
    for (const ControlTemplate& control : controlPanelTemplate.controls) {
        if (control.kind != ControlKind::RadioButton)
            continue;
        const QString group = groupOf(control);
        if (!groups.contains(group)) {
            auto* box = new QGroupBox(group, this);
            groups.insert(group, new QHBoxLayout(box));
            layout->addWidget(box);
        }
        auto* button = new QRadioButton(firstName(control.id), this);
        button->setAutoExclusive(false); // the dialog decides what is checked
        button->setEnabled((control.style & ControlStyle::disabled) == 0);
        groups.value(group)->addWidget(button);
        radios_.insert(control.id, button);
        const int id = control.id;
        connect(button, &QRadioButton::clicked, this,
                [this, id] { send(clickLine(std::to_string(id))); });
    }
}

// The six sliders with their value labels, applied as they move.
void ControlsDock::addSliders(QVBoxLayout* layout) {
    auto* form = new QFormLayout;
    for (const ControlTemplate& control : controlPanelTemplate.controls) {
        if (control.kind != ControlKind::Slider)
            continue;
        auto* slider = new QSlider(Qt::Horizontal, this);
        auto* value = new QLabel(this);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        auto* row = new QHBoxLayout;
        row->addWidget(slider, 1);
        row->addWidget(value);
        form->addRow(lastName(control.id), row);
        sliders_.insert(control.id, slider);
        for (const SliderRow& sliderRow : sliderRows) {
            if (sliderRow.sliderId == control.id)
                sliderLabels_.insert(sliderRow.labelId, value);
        }
        const int id = control.id;
        connect(slider, &QSlider::valueChanged, this,
                [this, id](int position) { send(moveLine(std::to_string(id), position)); });
    }
    layout->addLayout(form);
}

// Typed fields apply when the user presses Enter or leaves them, never on each key.
void ControlsDock::addEditGroup(QVBoxLayout* layout, const QString& title,
                                std::initializer_list<int> ids) {
    auto* box = new QGroupBox(title, this);
    auto* form = new QFormLayout(box);
    for (const int id : ids) {
        auto* edit = new QLineEdit(this);
        if ((findControl(controlPanelTemplate, id)->style & ControlStyle::digitsOnly) != 0)
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
        form->addRow(lastName(id), edit);
        edits_.insert(id, edit);
        connect(edit, &QLineEdit::editingFinished, this, [this, id, edit] {
            if (!edit->isModified())
                return;
            edit->setModified(false);
            send(typeLine(std::to_string(id), edit->text().toStdString()));
        });
    }
    layout->addWidget(box);
}

void ControlsDock::send(const std::string& line) {
    emit commands({QString::fromStdString(line),
                   QString::fromUtf8(setRegisterLine.data(), qsizetype(setRegisterLine.size()))});
}

void ControlsDock::showValues(const ControlValues& values) {
    for (const ControlValue& value : values) {
        if (QRadioButton* button = radios_.value(value.id)) {
            const QSignalBlocker block(button);
            button->setChecked(value.checked);
        } else if (QSlider* slider = sliders_.value(value.id)) {
            const QSignalBlocker block(slider);
            slider->setRange(value.minimum, value.maximum);
            slider->setValue(value.position);
        } else if (QLabel* label = sliderLabels_.value(value.id)) {
            label->setText(QString::fromStdString(value.text));
        } else if (QLineEdit* edit = edits_.value(value.id)) {
            if (!edit->isModified())
                edit->setText(QString::fromStdString(value.text));
        }
    }
}

} // namespace orvane
