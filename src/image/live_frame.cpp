// Frames captured and converted in memory.
#include "image/live_frame.h"

#include "image/rgb_planes.h"
#include "image/upload_frame.h"
#include "image/yuv422_to_rgb.h"
#include "sensor/register_masks.h"

namespace orvane {

bool captureLiveFrame(ControlBus& bus, const RegisterShadow& shadow, const FrameGeometry& geometry,
                      FrameBuffers& buffers) {
    if (!frameFitsBuffers(geometry, shadow.mode.dataFormat))
        return false;
    const uint8_t reg13Value = shadow.reg(0x13).value;
    writeRegister(bus, 0x13, addMask(reg13Value, uploadBit), uploadFirstWritePacing);
    captureFrame(bus.port, bus.trace, geometry, buffers.rawFrame());
    writeRegister(bus, 0x13, reg13Value, uploadSecondWritePacing);
    return true;
}

void convertFrame(FrameBuffers& buffers, const FrameGeometry& geometry, uint8_t dataFormat) {
    if (dataFormat == dataFormatRgb) {
        reconstructRgbPlanes(buffers, geometry);
        return;
    }
    Yuv422ToRgb(buffers.rawFrame(), buffers.greenPlane(), buffers.bluePlane(), buffers.redPlane(),
                geometry.imageHeight, geometry.imageWidth, geometry.bytesPerLine);
}

} // namespace orvane
