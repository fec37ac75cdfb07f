// ControlsDock: every control of the panel as the studio shows it, with the panel's names, ranges
// and groups. User actions become orvane-cli command lines; the dialog's answer comes back as
// control values and is shown as it is, corrections included.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QRadioButton>
#include <QSlider>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include "studio/studio_session.h"

namespace orvane {

class ControlsDock final : public QWidget {
    Q_OBJECT
public:
    explicit ControlsDock(QWidget* parent = nullptr);

    // Shows the dialog's values; a field the user is typing in keeps the typed text.
    void showValues(const ControlValues& values);

    QRadioButton* radioButton(int id) const { return radios_.value(id); }
    QSlider* slider(int id) const { return sliders_.value(id); }
    QLineEdit* edit(int id) const { return edits_.value(id); }

signals:
    // Command lines for the worker: the action, then Set Register.
    void commands(const QStringList& lines);

private:
    void addRadioGroups(QVBoxLayout* layout);
    void addSliders(QVBoxLayout* layout);
    void addEditGroup(QVBoxLayout* layout, const QString& title, std::initializer_list<int> ids);
    void send(const std::string& line);

    QMap<int, QRadioButton*> radios_;
    QMap<int, QSlider*> sliders_;
    QMap<int, QLabel*> sliderLabels_; // by the label's control ID
    QMap<int, QLineEdit*> edits_;
};

} // namespace orvane
