// Fuzzes the PPM reader: any bytes give a scene that matches its header, or a reason.
#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/scene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const orvane::SceneLoad load = orvane::parsePpm(bytes);
    const orvane::PpmHeaderParse parse = orvane::parsePpmHeader(bytes);
    if (load.scene.has_value() == !load.error.empty() ||
        parse.header.has_value() == !parse.error.empty())
        __builtin_trap(); // a result and a reason, or neither
    if (!load.scene)
        return 0;
    const orvane::PpmHeader& header = parse.header.value();
    const orvane::Scene& scene = *load.scene;
    if (scene.width() != header.width || scene.height() != header.height ||
        header.fileSize() > size || header.width > orvane::maxSceneSide ||
        header.height > orvane::maxSceneSide)
        __builtin_trap();
    // The last pixel is the last three bytes the header declares.
    const std::size_t last = header.fileSize() - 3;
    if (scene.pixel(header.width - 1, header.height - 1) !=
        orvane::Rgb{data[last], data[last + 1], data[last + 2]})
        __builtin_trap();
    return 0;
}
