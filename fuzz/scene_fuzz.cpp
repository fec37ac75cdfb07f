// Fuzzes the PPM reader: any bytes give a scene that matches its header, or a reason.
#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/scene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    std::optional<orvane::Scene> parsed;
    const orvane::Status load = orvane::parsePpm(bytes, parsed);
    orvane::PpmHeader header;
    bool cutShort = false;
    const orvane::Status parse = orvane::parsePpmHeader(bytes, header, cutShort);
    if (parsed.has_value() != load.ok() || load.ok() == load.message().size() > 0 ||
        parse.ok() == parse.message().size() > 0)
        __builtin_trap(); // a result and no reason, or a reason and no result
    if (!parsed)
        return 0;
    const orvane::Scene& scene = *parsed;
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
