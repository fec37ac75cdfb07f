// RegisterInspector: every managed register by number and name, its value in hex and binary
// with the bits the controls drive marked, editable in place; on the simulated module also what
// the sensor holds, differences highlighted. Dumps and loads all registers as a text file.
#pragma once

#include <QString>
#include <QTableWidget>
#include <QWidget>

#include "register_snapshot.h"

namespace orvane {

class RegisterInspector final : public QWidget {
    Q_OBJECT
public:
    explicit RegisterInspector(QWidget* parent = nullptr);

    void showRegisters(const RegisterSnapshot& snapshot);
    const RegisterSnapshot& snapshot() const { return snapshot_; }
    QTableWidget* table() const { return table_; }

    // The registers as a dump file at path; false with the reason in a note.
    bool dumpTo(const QString& path);
    // Asks for the writes of the dump file at path; false with the reason in a note.
    bool loadFrom(const QString& path);

signals:
    void registerWriteRequested(int address, int value);
    void note(const QString& text);

private:
    void valueEdited(QTableWidgetItem* item);

    QTableWidget* table_ = nullptr;
    RegisterSnapshot snapshot_;
    bool filling_ = false;
};

} // namespace orvane

Q_DECLARE_METATYPE(orvane::RegisterSnapshot)
