// The camera's operations on the port.
#include "camera/camera_device.h"

#include "image/live_frame.h"
#include "port/init_parallel_port.h"
#include "sensor/register_masks.h"

namespace orvane {

CameraDevice::CameraDevice(PortIo& port, TraceSink& trace, TickCounter& ticks)
    : bus{port, trace, ticks} {}

bool CameraDevice::open() {
    if (!buffers.allocate())
        return false;
    initParallelPort(bus.port);
    return true;
}

void CameraDevice::close() {
    buffers.release();
}

void CameraDevice::send(const ApplyPlan& plan) {
    for (const RegisterWrite& write : plan.writes)
        writeRegister(bus, write.subAddress, write.value, applySettingsPacing);
}

void CameraDevice::keep(const ApplyPlan& plan) {
    shadow = plan.shadow;
    geometry = plan.geometry;
}

void CameraDevice::keep(const SelectorPlan& plan) {
    shadow = plan.shadow;
    if (plan.startGeometry)
        geometry = FrameGeometry{};
}

void CameraDevice::reset() {
    writeRegister(bus, 0x12, resetValue, cameraResetPacing);
    shadow.restoreStartValues();
    geometry = resetFrameGeometry;
}

bool CameraDevice::capture(const std::function<void()>& whileInUploadSetting,
                           const LinesRead& linesRead) {
    if (!frameFitsBuffers(geometry, shadow.mode.dataFormat))
        return false;
    const uint8_t reg13Value = shadow.reg(0x13).value;
    writeRegister(bus, 0x13, addMask(reg13Value, uploadBit), uploadFirstWritePacing);
    captureFrame(bus.port, bus.trace, geometry, buffers.rawFrame(), linesRead);
    heldFrame = HeldFrame{geometry, shadow.mode.dataFormat};
    if (whileInUploadSetting)
        whileInUploadSetting();
    writeRegister(bus, 0x13, reg13Value, uploadSecondWritePacing);
    return true;
}

void CameraDevice::convert() {
    convertFrame(buffers, geometry, shadow.mode.dataFormat, cpu);
}

} // namespace orvane
