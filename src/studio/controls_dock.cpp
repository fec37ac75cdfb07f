// The studio's controls, generated from the control list.
#include "controls_dock.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <orvane/controls.h>

namespace orvane {
namespace {

QString nameOf(const ControlInfo& info) {
    return QString::fromUtf8(info.name.data(), qsizetype(info.name.size()));
}

bool typedNumber(const ControlInfo& info) {
    return info.display == ControlDisplay::Number;
}

} // namespace

ControlsDock::ControlsDock(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    QMap<QString, QFormLayout*> groups;
    for (const ControlInfo& info : controlList()) {
        const QString group = QString::fromUtf8(info.group.data(), qsizetype(info.group.size()));
        if (!groups.contains(group)) {
            auto* box = new QGroupBox(group, this);
            groups.insert(group, new QFormLayout(box));
            layout->addWidget(box);
        }
        QWidget* widget = addControl(info);
        widget->setFocusPolicy(Qt::StrongFocus);
        widget->installEventFilter(this);
        widget->setToolTip(
            QString::fromUtf8(info.description.data(), qsizetype(info.description.size())));
        widgets_.insert(nameOf(info), widget);
        QFormLayout* form = groups.value(group);
        if (auto* slider = qobject_cast<QSlider*>(widget)) {
            auto* value = new QLabel(this);
            value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
            sliderValues_.insert(nameOf(info), value);
            auto* row = new QHBoxLayout;
            row->addWidget(slider, 1);
            row->addWidget(value);
            form->addRow(nameOf(info), row);
        } else {
            form->addRow(nameOf(info), widget);
        }
    }
    layout->addWidget(addRegisterWrite());
    layout->addStretch(1);
}

QWidget* ControlsDock::addControl(const ControlInfo& info) {
    if (info.type == ControlType::Boolean) {
        auto* box = new QCheckBox(this);
        connect(box, &QCheckBox::toggled, this, [this, &info](bool on) { send(info, on ? 1 : 0); });
        return box;
    }
    if (info.type == ControlType::Menu) {
        auto* menu = new QComboBox(this);
        auto* model = qobject_cast<QStandardItemModel*>(menu->model());
        for (const ControlChoice& choice : info.choices) {
            menu->addItem(QString::fromUtf8(choice.name.data(), qsizetype(choice.name.size())),
                          choice.value);
            if (!choice.selectable)
                model->item(menu->count() - 1)->setEnabled(false);
        }
        connect(menu, &QComboBox::activated, this,
                [this, &info, menu](int index) { send(info, menu->itemData(index).toInt()); });
        return menu;
    }
    if (typedNumber(info)) {
        auto* field = new QSpinBox(this);
        field->setRange(info.minimum, info.maximum);
        field->setKeyboardTracking(false); // applied on Enter or when focus leaves
        connect(field, &QSpinBox::valueChanged, this,
                [this, &info](int value) { send(info, value); });
        return field;
    }
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(info.minimum, info.maximum);
    connect(slider, &QSlider::valueChanged, this, [this, &info](int value) { send(info, value); });
    return slider;
}

// Register by number, for bring-up: written at once, whatever it is.
QWidget* ControlsDock::addRegisterWrite() {
    auto* box = new QGroupBox(QStringLiteral("Register"), this);
    auto* row = new QHBoxLayout(box);
    auto* address = new QSpinBox(box);
    auto* value = new QSpinBox(box);
    for (QSpinBox* field : {address, value}) {
        field->setRange(0, 255);
        field->setDisplayIntegerBase(16);
        field->setPrefix(QStringLiteral("0x"));
    }
    auto* write = new QPushButton(QStringLiteral("&Write"), box);
    row->addWidget(address);
    row->addWidget(value);
    row->addWidget(write);
    widgets_.insert(QStringLiteral("register"), address);
    widgets_.insert(QStringLiteral("register-value"), value);
    connect(write, &QPushButton::clicked, this, [this, address, value] {
        emit registerWriteRequested(address->value(), value->value());
    });
    return box;
}

bool ControlsDock::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Wheel && widget != nullptr && !widget->hasFocus()) {
        event->ignore(); // passed on to the scroll area around the dock
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ControlsDock::send(const ControlInfo& info, int value) {
    emit changes({{std::string(info.name), value}});
}

void ControlsDock::showValues(const ControlValues& values) {
    for (const ControlValue& value : values) {
        const QString name = QString::fromUtf8(value.name.data(), qsizetype(value.name.size()));
        QWidget* widget = widgets_.value(name);
        const QSignalBlocker block(widget);
        if (auto* slider = qobject_cast<QSlider*>(widget)) {
            slider->setValue(value.value);
            sliderValues_.value(name)->setNum(value.value);
        } else if (auto* field = qobject_cast<QSpinBox*>(widget)) {
            if (!field->hasFocus())
                field->setValue(value.value);
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            box->setChecked(value.value != 0);
        } else if (auto* menu = qobject_cast<QComboBox*>(widget)) {
            menu->setCurrentIndex(menu->findData(value.value));
        }
    }
}

} // namespace orvane
