// The register inspector: the table of registers, editing in place, and dumps to and from files.
#include "register_inspector.h"

#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include <orvane/controls.h>
#include <orvane/registers.h>

namespace orvane {
namespace {

enum Column { Number, Name, Value, Bits, Module, Controls, ColumnCount };

// A dump is a few kilobytes; anything past this is not one.
constexpr qint64 maxDumpBytes = 64 * 1024;
const QString dumpFilter = QStringLiteral("Register dumps (*.txt *.regs);;All files (*)");

QString hex(int value) {
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// The bits of a register the controls drive, and which controls.
struct DrivenBits {
    uint8_t mask = 0;
    QString controls;
};

DrivenBits drivenBits(uint8_t address) {
    DrivenBits driven;
    for (const ControlInfo& info : controlList()) {
        for (const ControlRegister& reg : info.registers) {
            if (reg.address != address)
                continue;
            driven.mask |= reg.mask;
            const QString name = QString::fromUtf8(info.name.data(), qsizetype(info.name.size()));
            driven.controls += (driven.controls.isEmpty() ? QString() : QStringLiteral(", ")) +
                               (reg.mask == 0xFF ? name : name + " " + hex(reg.mask));
        }
    }
    return driven;
}

// Binary, most significant bit first; the bits no control drives are shown as dots.
QString bitsText(uint8_t value, uint8_t driven) {
    QString text;
    for (int bit = 7; bit >= 0; --bit) {
        const bool set = (value >> bit & 1) != 0;
        text += (driven >> bit & 1) != 0 ? QChar(set ? '1' : '0') : QChar(set ? '1' : '.');
        if (bit == 4)
            text += ' ';
    }
    return text;
}

} // namespace

RegisterInspector::RegisterInspector(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setHorizontalHeaderLabels({QStringLiteral("Register"), QStringLiteral("Name"),
                                       QStringLiteral("Value"), QStringLiteral("Bits"),
                                       QStringLiteral("Module"), QStringLiteral("Controls")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->setToolTip(QStringLiteral(
        "Value: what the camera sent (the bus is write-only); edit it to write the register. "
        "Bits: a dot is a 0 no control drives. Module: what the simulated sensor holds, "
        "highlighted where it differs."));
    layout->addWidget(table_);
    setFocusProxy(table_);
    auto* buttons = new QHBoxLayout;
    auto* dump = new QPushButton(QStringLiteral("&Dump..."), this);
    auto* load = new QPushButton(QStringLiteral("&Load..."), this);
    buttons->addWidget(dump);
    buttons->addWidget(load);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(table_, &QTableWidget::itemChanged, this, &RegisterInspector::valueEdited);
    connect(dump, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Dump registers"), QStringLiteral("registers.txt"), dumpFilter);
        if (!path.isEmpty())
            dumpTo(path);
    });
    connect(load, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, QStringLiteral("Load registers"), {}, dumpFilter);
        if (!path.isEmpty())
            loadFrom(path);
    });
}

void RegisterInspector::showRegisters(const RegisterSnapshot& snapshot) {
    snapshot_ = snapshot;
    filling_ = true;
    table_->setRowCount(int(snapshot.registers.size()));
    for (int row = 0; row < int(snapshot.registers.size()); ++row) {
        const RegisterState& state = snapshot.registers[std::size_t(row)];
        const DrivenBits driven = drivenBits(state.address);
        const QString module =
            snapshot.module ? hex((*snapshot.module)[state.address]) : QStringLiteral("-");
        const QString texts[ColumnCount] = {
            hex(state.address),
            QString::fromUtf8(state.name.data(), qsizetype(state.name.size())),
            hex(state.value) + (state.pending ? QStringLiteral(" *") : QString()),
            bitsText(state.value, driven.mask),
            module,
            driven.controls};
        for (int column = 0; column < ColumnCount; ++column) {
            QTableWidgetItem* item = table_->item(row, column);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                table_->setItem(row, column, item);
            }
            item->setText(texts[column]);
            item->setFlags(column == Value ? item->flags() | Qt::ItemIsEditable
                                           : item->flags() & ~Qt::ItemIsEditable);
            item->setData(Qt::UserRole, state.address);
        }
        // A value the sensor does not hold, once it has been sent.
        const bool differs =
            snapshot.module && !state.pending && (*snapshot.module)[state.address] != state.value;
        table_->item(row, Module)
            ->setBackground(differs ? QBrush(QColor(255, 190, 170)) : QBrush());
        table_->item(row, Module)
            ->setToolTip(differs ? QStringLiteral("The sensor holds another value than the "
                                                  "camera's copy (sent otherwise, or never sent)")
                                 : QString());
    }
    // The keys start on the first value, the column they can change.
    if (table_->currentItem() == nullptr && table_->rowCount() > 0)
        table_->setCurrentCell(0, Value);
    filling_ = false;
    // The last column keeps the width that is left.
    for (int column = 0; column + 1 < ColumnCount; ++column)
        table_->resizeColumnToContents(column);
}

void RegisterInspector::valueEdited(QTableWidgetItem* item) {
    if (filling_ || item->column() != Value)
        return;
    const int address = item->data(Qt::UserRole).toInt();
    const RegisterDumpReading reading =
        readRegisterDump(QStringLiteral("0 = %1").arg(item->text()).toStdString());
    if (reading.writes.empty())
        emit note(QStringLiteral("Register %1 not written: \"%2\" is not a value of 0 to 255 "
                                 "(0x hex or decimal)")
                      .arg(hex(address), item->text()));
    else
        emit registerWriteRequested(address, reading.writes.front().value);
    showRegisters(snapshot_); // the table shows what the camera reports back
}

bool RegisterInspector::dumpTo(const QString& path) {
    const std::string text = registerDump(
        snapshot_.registers, QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        emit note(QStringLiteral("Registers not dumped: %1: %2").arg(path, file.errorString()));
        return false;
    }
    emit note(QStringLiteral("Registers dumped to %1").arg(path));
    return true;
}

bool RegisterInspector::loadFrom(const QString& path) {
    QFile file(path);
    if (const QFileInfo info(path); info.exists() && !info.isFile()) {
        emit note(QStringLiteral("Registers not loaded: %1: not a regular file").arg(path));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        emit note(QStringLiteral("Registers not loaded: %1: %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray text = file.read(maxDumpBytes);
    const RegisterDumpReading reading =
        readRegisterDump(std::string_view(text.constData(), std::size_t(text.size())));
    for (const RegisterAssignment& write : reading.writes)
        emit registerWriteRequested(write.address, write.value);
    emit note(
        reading.problems.empty()
            ? QStringLiteral("%1 registers written from %2").arg(reading.writes.size()).arg(path)
            : QStringLiteral("%1 registers written from %2; left out: %3")
                  .arg(reading.writes.size())
                  .arg(path, QString::fromStdString(reading.problems.front())));
    return true;
}

} // namespace orvane
