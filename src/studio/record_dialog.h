// RecordDialog: where a recording goes and how: every frame or a time-lapse at an interval, and
// how many frames.
#pragma once

#include <QDialog>

#include "frame_recording.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace orvane {

class RecordDialog final : public QDialog {
    Q_OBJECT
public:
    RecordDialog(const QString& folder, QWidget* parent = nullptr);
    RecordingPlan plan() const;

private:
    QLineEdit* folder_ = nullptr;
    QComboBox* mode_ = nullptr;
    QDoubleSpinBox* interval_ = nullptr;
    QSpinBox* frames_ = nullptr;
};

} // namespace orvane
