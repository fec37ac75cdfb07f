// The fields' start values and lookup by register.
#include "sensor/sensor_fields.h"

namespace orvane {
namespace {

constexpr std::array<uint8_t, 256> rowBySubAddress = [] {
    std::array<uint8_t, 256> rows{};
    rows.fill(static_cast<uint8_t>(registerTable.size()));
    for (std::size_t i = 0; i < registerTable.size(); ++i)
        rows[registerTable[i].subAddress] = static_cast<uint8_t>(i);
    return rows;
}();

} // namespace

std::size_t registerRow(uint8_t subAddress) {
    return rowBySubAddress[subAddress];
}

SensorFields::SensorFields() {
    for (std::size_t i = 0; i < registerTable.size(); ++i)
        byRow[i] =
            registerTable[i].source == ValueSource::Stored ? 0 : registerTable[i].defaultValue;
}

int32_t& SensorFields::of(uint8_t subAddress) {
    return byRow[registerRow(subAddress)];
}

int32_t SensorFields::of(uint8_t subAddress) const {
    return byRow[registerRow(subAddress)];
}

} // namespace orvane
