// Raw dump, BMP template, BMP writer and Save As: whole binary files, every write checked.
#include "image/image_files.h"

#include <algorithm>
#include <string>
#include <vector>

#include "image/whole_file.h"

namespace orvane {
namespace {

// A name with a NUL would be cut short by the system; other control characters are typing
// accidents, not names.
bool isUsableName(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(),
                                         [](char c) { return uint8_t(c) < 0x20 || c == 0x7F; });
}

} // namespace

std::optional<FileMessage> fileMessage(FileResult result) {
    const auto found = std::find_if(fileMessages.begin(), fileMessages.end(),
                                    [result](const FileMessage& m) { return m.result == result; });
    if (found == fileMessages.end())
        return std::nullopt;
    return *found;
}

FileResult writeRawDump(const std::filesystem::path& directory, std::span<const uint8_t> rawFrame,
                        const FrameGeometry& geometry) {
    const std::size_t length =
        std::min(std::size_t{geometry.linesToRead} * geometry.bytesPerLine, rawFrame.size());
    return writeFileReplacing(directory / rawDumpFileName, rawFrame.first(length))
               ? FileResult::ok
               : FileResult::rawDumpNotOpened;
}

FileResult readBmpHeader(const std::filesystem::path& directory, std::span<uint8_t> header) {
    const std::optional<std::vector<uint8_t>> bytes =
        readRegularFile(directory / bmpTemplateFileName, bmpHeaderSize);
    // Anything but a whole header of a BMP file cannot serve as the template.
    if (!bytes || bytes->size() < bmpHeaderSize || (*bytes)[0] != 'B' || (*bytes)[1] != 'M')
        return FileResult::templateNotOpened;
    std::copy_n(bytes->begin(), std::min(header.size(), bytes->size()), header.begin());
    return FileResult::ok;
}

void patchBmpHeader(std::span<uint8_t> header, uint32_t width, uint32_t height) {
    header[18] = static_cast<uint8_t>(width & 0xFF);
    header[19] = static_cast<uint8_t>((width >> 8) & 0xFF);
    header[22] = static_cast<uint8_t>(height & 0xFF);
    header[23] = static_cast<uint8_t>((height >> 8) & 0xFF);
}

std::optional<std::size_t> composeBmpImage(FrameBuffers& buffers, const FrameGeometry& geometry) {
    const std::size_t width = geometry.imageWidth;
    const std::size_t height = geometry.imageHeight;
    const std::size_t length = bmpFileLength(geometry);
    const std::span<uint8_t> image = buffers.bmpImage();
    const std::span<const uint8_t> blue = buffers.bluePlane();
    const std::span<const uint8_t> green = buffers.greenPlane();
    const std::span<const uint8_t> red = buffers.redPlane();
    if (width * height > std::min({blue.size(), green.size(), red.size()}) || length > image.size())
        return std::nullopt;

    const std::size_t stride = bmpRowStride(geometry.imageWidth);
    for (std::size_t row = 0; row < height; ++row) {
        // The file holds the bottom row first.
        const std::size_t planeRow = (height - 1 - row) * width;
        uint8_t* out = image.data() + bmpHeaderSize + row * stride;
        for (std::size_t x = 0; x < width; ++x) {
            *out++ = blue[planeRow + x];
            *out++ = green[planeRow + x];
            *out++ = red[planeRow + x];
        }
        std::fill_n(out, stride - 3 * width, uint8_t{0});
    }

    const std::span<uint8_t> header = buffers.bmpHeader();
    patchBmpHeader(header, geometry.imageWidth, geometry.imageHeight);
    std::copy_n(header.begin(), bmpHeaderSize, image.begin());
    return length;
}

FileResult BmpWriter(const std::filesystem::path& directory, FrameBuffers& buffers,
                     const FrameGeometry& geometry) {
    const std::optional<std::size_t> length = composeBmpImage(buffers, geometry);
    if (!length)
        return FileResult::frameDoesNotFit;
    return writeFileReplacing(directory / bmpFileName, buffers.bmpImage().first(*length))
               ? FileResult::ok
               : FileResult::bmpNotCreated;
}

FileResult saveBmpAs(const std::filesystem::path& directory, std::string_view newName) {
    const std::optional<std::vector<uint8_t>> bytes =
        readRegularFile(directory / bmpFileName, SIZE_MAX);
    if (!bytes)
        return FileResult::bmpNotReadable;
    // An empty name would name the directory itself; a NUL would cut it short.
    if (!isUsableName(newName))
        return FileResult::newFileNotOpened;
    return writeFileReplacing(directory / std::filesystem::path{std::string{newName}}, *bytes)
               ? FileResult::saved
               : FileResult::newFileNotOpened;
}

} // namespace orvane
