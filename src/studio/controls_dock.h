// ControlsDock: every control of the camera's control list, grouped as the list groups them:
// sliders for the picture, number fields for the window and timing, a box per choice. A register
// of the sensor can be written by number. User actions become control changes; the camera's
// answer comes back as values and is shown as it is.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>

#include <orvane/profile.h>

namespace orvane {

struct ControlInfo;

class ControlsDock final : public QWidget {
    Q_OBJECT
public:
    explicit ControlsDock(QWidget* parent = nullptr);

    // Shows the camera's values; a field the user is typing in keeps the typed number.
    void showValues(const ControlValues& values);

    // The widget of a control, by its name: a QSlider, QSpinBox, QCheckBox or QComboBox.
    QWidget* control(const QString& name) const { return widgets_.value(name); }

signals:
    void changes(const orvane::ControlChanges& changes);
    void registerWriteRequested(int address, int value);

protected:
    // The wheel changes a control only while it has the keyboard focus; otherwise it scrolls the
    // dock, so scrolling never sends a register by accident.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* addControl(const ControlInfo& info);
    QWidget* addRegisterWrite();
    void send(const ControlInfo& info, int value);

    QMap<QString, QWidget*> widgets_;
    QMap<QString, QLabel*> sliderValues_;
};

} // namespace orvane
