// Write planning: from the register shadow and the fields, what a Set Register, a selector or a
// Reset sends and leaves, as typed values. Nothing here drives a port or shows anything; the
// panel turns refusals and corrections into its message boxes, a Camera into its status.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "geometry/frame_geometry.h"
#include "port/write_register.h"
#include "sensor/register_shadow.h"
#include "sensor/selector.h"
#include "sensor/sensor_fields.h"
#include "sensor/window_preset.h"

namespace orvane {

// The window checks of a Set Register, in the order they run.
enum class WindowProblem : uint8_t {
    HorizontalRange,
    VerticalRange,
    HorizontalOrder,
    VerticalOrder
};

// One window check that failed: the operator's text and the fields it sets (as signed numbers).
struct WindowCorrection {
    WindowProblem problem;
    std::string_view text;
    struct Field {
        uint8_t subAddress;
        int32_t value;
    };
    std::array<Field, 2> fields;
    std::size_t fieldCount;
};

struct ApplyPlan {
    std::vector<WindowCorrection> corrections; // each raises the corrected registers' flags
    SensorFields fields;                       // after the corrections
    FrameGeometry geometry;                    // of the corrected window
    std::vector<RegisterWrite> writes;         // in write order; empty sends nothing
    RegisterShadow shadow;                     // what the shadow holds once the writes are sent
};

// The Set Register: window checks and corrections, the geometry of the corrected window, and the
// write list of every raised flag in write order with the values taken after the checks.
ApplyPlan planApply(const RegisterShadow& shadow, const SensorFields& fields);

// The geometry of the frame the sensor delivers for a window.
FrameGeometry windowGeometry(const SensorFields& fields, uint8_t dataFormat);

enum class SelectorRefusal : uint8_t {
    None,
    AlreadySelected,      // the option is in force already
    CameraNotInitialized, // auto adjust cannot be disabled before the first Set Register
};

struct SelectorPlan {
    SelectorRefusal refusal = SelectorRefusal::None;
    std::string_view text; // the operator's text of a refusal
    RegisterShadow shadow; // afterwards; the same as before on a refusal
    // Window presets written into the window fields, in order (the last one stands); the
    // shadow above has the window registers' flags raised for them.
    std::array<const WindowPreset*, 2> windows{};
    bool startGeometry = false; // the frame geometry back to its start-up values
};

// One selector: refused when its option is in force already, otherwise the mode state and the
// register bit move together and the register is marked for sending.
SelectorPlan planSelector(Selector selector, const RegisterShadow& shadow);

// The window fields after a selector's presets.
void writeWindows(const SelectorPlan& plan, SensorFields& fields);

} // namespace orvane
