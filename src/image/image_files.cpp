// Raw dump, BMP template, BMP writer and Save As: binary files, one write each.
#include "image/image_files.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace orvane {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openFile(const std::filesystem::path& path, const char* mode) {
    return File{std::fopen(path.c_str(), mode)};
}

// Creates or truncates path and writes bytes in one write. False when it cannot be created;
// a short write on a file that opened is not detected.
bool writeWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    const File file = openFile(path, "wb");
    if (!file)
        return false;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    return true;
}

std::optional<std::vector<uint8_t>> readWholeFile(const std::filesystem::path& path) {
    const File file = openFile(path, "rb");
    if (!file)
        return std::nullopt;
    constexpr std::size_t chunk = 64 * 1024;
    std::vector<uint8_t> bytes;
    for (;;) {
        const std::size_t had = bytes.size();
        bytes.resize(had + chunk);
        const std::size_t got = std::fread(bytes.data() + had, 1, chunk, file.get());
        bytes.resize(had + got);
        if (got < chunk)
            break;
    }
    // A directory opens on some systems but cannot be read.
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
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
    return writeWholeFile(directory / rawDumpFileName, rawFrame.first(length))
               ? FileResult::ok
               : FileResult::rawDumpNotOpened;
}

FileResult readBmpHeader(const std::filesystem::path& directory, std::span<uint8_t> header) {
    const File file = openFile(directory / bmpTemplateFileName, "rb");
    if (!file)
        return FileResult::templateNotOpened;
    if (!header.empty())
        std::fread(header.data(), 1, header.size(), file.get());
    // A short template is taken as it is; one that cannot be read at all (a directory) is not.
    return std::ferror(file.get()) ? FileResult::templateNotOpened : FileResult::ok;
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
    return writeWholeFile(directory / bmpFileName, buffers.bmpImage().first(*length))
               ? FileResult::ok
               : FileResult::bmpNotCreated;
}

FileResult saveBmpAs(const std::filesystem::path& directory, std::string_view newName) {
    const std::optional<std::vector<uint8_t>> bytes = readWholeFile(directory / bmpFileName);
    if (!bytes)
        return FileResult::bmpNotReadable;
    // An empty name would name the directory itself.
    if (newName.empty())
        return FileResult::newFileNotOpened;
    return writeWholeFile(directory / std::filesystem::path{std::string{newName}}, *bytes)
               ? FileResult::saved
               : FileResult::newFileNotOpened;
}

} // namespace orvane
