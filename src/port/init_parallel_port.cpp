// One-time set-up of the parallel port when the panel opens.
#include "port/init_parallel_port.h"

#include "port/parallel_port.h"

namespace orvane {

void initParallelPort(PortIo& port) {
    port.writePort(ParallelPort::ecrPort, ecrByteMode);
    port.writePort(ParallelPort::controlPort, controlIdle);
}

} // namespace orvane
