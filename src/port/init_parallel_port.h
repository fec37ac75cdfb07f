// One-time set-up of the parallel port when the panel opens.
#pragma once

#include "port/port_io.h"

namespace orvane {

// Puts the port in bidirectional byte mode and leaves the control lines idle: exactly two
// writes, 0x20 to the extended control register, then 0x20 to the control register.
void initParallelPort(PortIo& port);

} // namespace orvane
