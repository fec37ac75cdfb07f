// The recording dialog: folder, every frame or a time-lapse, and how many frames.
#include "record_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace orvane {

RecordDialog::RecordDialog(const QString& folder, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Record"));
    auto* form = new QFormLayout(this);
    folder_ = new QLineEdit(folder, this);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);
    form->addRow(QStringLiteral("Into the folder"), folderRow);
    mode_ = new QComboBox(this);
    mode_->addItems({QStringLiteral("Every frame"), QStringLiteral("Time-lapse")});
    form->addRow(QStringLiteral("Frames"), mode_);
    interval_ = new QDoubleSpinBox(this);
    interval_->setRange(0.1, 86400);
    interval_->setValue(5);
    interval_->setSuffix(QStringLiteral(" s"));
    interval_->setEnabled(false);
    form->addRow(QStringLiteral("One frame every"), interval_);
    frames_ = new QSpinBox(this);
    frames_->setRange(0, 1'000'000);
    frames_->setValue(20);
    frames_->setSpecialValueText(QStringLiteral("until stopped"));
    form->addRow(QStringLiteral("Stop after"), frames_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Record"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(mode_, &QComboBox::currentIndexChanged, this,
            [this](int index) { interval_->setEnabled(index == 1); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen =
            QFileDialog::getExistingDirectory(this, QStringLiteral("Record into"), folder_->text());
        if (!chosen.isEmpty())
            folder_->setText(chosen);
    });
}

RecordingPlan RecordDialog::plan() const {
    return {folder_->text(), mode_->currentIndex() == 1 ? qint64(interval_->value() * 1000) : 0,
            frames_->value()};
}

} // namespace orvane
