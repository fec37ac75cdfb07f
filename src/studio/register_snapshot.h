// What the worker tells the register inspector after every change: the registers as the camera
// keeps them and, on the simulated module, what its sensor holds.
#pragma once

#include <orvane/camera.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvane {

struct RegisterSnapshot {
    std::vector<RegisterState> registers;
    std::optional<std::array<uint8_t, 256>> module;
};

} // namespace orvane
