// The upload's files: the raw dump, the BMP header template, the BMP writer and Save As.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "geometry/frame_geometry.h"
#include "image/frame_buffers.h"

namespace orvane {

constexpr std::string_view rawDumpFileName = "test.raw";
constexpr std::string_view bmpTemplateFileName = "bmphead24";
constexpr std::string_view bmpFileName = "testfile.bmp";

// What a file operation came to. Nothing here shows a message or ends the program: the caller
// looks the result up in fileMessages and carries on.
enum class FileResult : uint8_t {
    ok,                // done, nothing to report
    saved,             // Save As wrote the copy
    rawDumpNotOpened,  // "test.raw" could not be created or written
    templateNotOpened, // "bmphead24" could not be opened or is no BMP header
    bmpNotCreated,     // "testfile.bmp" could not be created or written by an upload
    bmpNotReadable,    // "testfile.bmp" could not be opened by Save As
    newFileNotOpened,  // Save As could not create or write the typed name, or refused it
    frameDoesNotFit,   // the geometry exceeds the buffers; the upload refuses it before
};

struct FileMessage {
    FileResult result;
    std::string_view text;
    std::string_view caption;
};

// The caption of every box that says a file operation failed.
constexpr std::string_view fileErrorCaption = "Error Message";

// The message box each result asks for; results not listed show nothing.
inline constexpr std::array<FileMessage, 6> fileMessages{{
    {FileResult::saved, "The new file was saved!\n", "Color Orvane Message"},
    {FileResult::rawDumpNotOpened, "test.raw could not be opened\n", fileErrorCaption},
    {FileResult::templateNotOpened, "bmphead24 could not be opened\n", fileErrorCaption},
    {FileResult::bmpNotCreated, "testfile.bmp could not be opened\n", fileErrorCaption},
    {FileResult::bmpNotReadable, "testfile.bmp could not be opened\n", fileErrorCaption},
    {FileResult::newFileNotOpened, "The new file could not be opened\n", fileErrorCaption},
}};

std::optional<FileMessage> fileMessage(FileResult result);

// Bytes of one BMP pixel row: 3 x width rounded up to a multiple of 4.
constexpr std::size_t bmpRowStride(uint32_t width) {
    return (3 * std::size_t{width} + 3) / 4 * 4;
}

// Length of the BMP file for this geometry: header plus imageHeight rows.
constexpr std::size_t bmpFileLength(const FrameGeometry& geometry) {
    return bmpHeaderSize + std::size_t{geometry.imageHeight} * bmpRowStride(geometry.imageWidth);
}

// Creates or replaces "test.raw" in directory with the first linesToRead x bytesPerLine bytes of
// rawFrame (no more than rawFrame holds), as writeFileReplacing does.
FileResult writeRawDump(const std::filesystem::path& directory, std::span<const uint8_t> rawFrame,
                        const FrameGeometry& geometry);

// Reads the first 54 bytes of "bmphead24" in directory into header. templateNotOpened, with
// header untouched, when it is not a regular file, cannot be read, is shorter than 54 bytes or
// does not start with "BM".
FileResult readBmpHeader(const std::filesystem::path& directory, std::span<uint8_t> header);

// Puts the low 16 bits of width and height into bytes 18, 19 and 22, 23; the other header bytes,
// including the upper halves of those fields, stay as they are.
void patchBmpHeader(std::span<uint8_t> header, uint32_t width, uint32_t height);

// Lays out the BMP image in bmpImage from bmpHeader (patched for the geometry) and the three
// planes: bottom row first, pixels blue, green, red, rows padded with zeros to the stride.
// Returns the file length, or nothing (and changes nothing) when the frame does not fit.
std::optional<std::size_t> composeBmpImage(FrameBuffers& buffers, const FrameGeometry& geometry);

// composeBmpImage, then creates or replaces "testfile.bmp" in directory with the image, as
// writeFileReplacing does.
FileResult BmpWriter(const std::filesystem::path& directory, FrameBuffers& buffers,
                     const FrameGeometry& geometry);

// Copies "testfile.bmp" in directory, byte for byte and whatever its length, to newName (taken
// as typed: relative to directory unless absolute, no extension added). Nothing is created when
// the source is not a readable regular file or the name is empty or holds a control character;
// a failed write leaves an existing file of that name as it was.
FileResult saveBmpAs(const std::filesystem::path& directory, std::string_view newName);

} // namespace orvane
