// Writing a mosaic frame as a DNG file through libtiff.
#include "orvane/dng.h"

#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "image/whole_file.h"

namespace orvane {
namespace {

// The sensor's output codes run from 16 (no light) to 240 (full).
constexpr float blackLevel = 16;
constexpr uint32_t whiteLevel = 240;
// Cell colours (0 red, 1 green, 2 blue) of the repeating 2 x 2 block, row by row.
constexpr std::array<uint8_t, 4> cellPattern{1, 2, 0, 1};

Status fileError(const std::filesystem::path& path, const std::string& why) {
    return {StatusCode::FileError, "the DNG " + path.string() + " cannot be written: " + why};
}

// The file built in memory, so that it reaches the disk through the checked whole-file write.
struct MemoryFile {
    std::vector<uint8_t> bytes;
    toff_t at = 0;
};

MemoryFile& memoryOf(thandle_t handle) {
    return *static_cast<MemoryFile*>(handle);
}
tmsize_t readMemory(thandle_t handle, void* into, tmsize_t size) {
    MemoryFile& file = memoryOf(handle);
    const auto count = std::min<toff_t>(
        toff_t(size), file.bytes.size() - std::min<toff_t>(file.at, file.bytes.size()));
    std::memcpy(into, file.bytes.data() + file.at, count);
    file.at += count;
    return tmsize_t(count);
}
tmsize_t writeMemory(thandle_t handle, void* from, tmsize_t size) {
    MemoryFile& file = memoryOf(handle);
    if (file.bytes.size() < file.at + toff_t(size))
        file.bytes.resize(file.at + toff_t(size));
    std::memcpy(file.bytes.data() + file.at, from, std::size_t(size));
    file.at += toff_t(size);
    return size;
}
toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    MemoryFile& file = memoryOf(handle);
    file.at = whence == SEEK_SET   ? offset
              : whence == SEEK_CUR ? file.at + offset
                                   : file.bytes.size() + offset;
    return file.at;
}
int closeMemory(thandle_t) {
    return 0;
}
toff_t sizeOfMemory(thandle_t handle) {
    return memoryOf(handle).bytes.size();
}
int mapMemory(thandle_t, void**, toff_t*) {
    return 0;
}
void unmapMemory(thandle_t, void*, toff_t) {}

// libtiff's first error goes into the Status instead of standard error; warnings are dropped.
int keepFirstError(TIFF*, void* firstError, const char* module, const char* format, va_list args) {
    auto& kept = *static_cast<std::string*>(firstError);
    if (kept.empty()) {
        char text[256];
        std::vsnprintf(text, sizeof text, format, args);
        kept = std::string(module != nullptr ? module : "libtiff") + ": " + text;
    }
    return 1;
}
int dropWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// "YYYY:MM:DD HH:MM:SS" in local time, as TIFF's DateTime has it.
std::string tiffTime(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[20];
    std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &local);
    return text;
}

bool writeTags(TIFF* tiff, const DngStill& still, const std::string& time) {
    const std::array<uint8_t, 4> dngVersion{1, 4, 0, 0};
    const std::array<uint8_t, 4> backwardVersion{1, 1, 0, 0};
    const std::array<uint16_t, 2> repeat{2, 2};
    const std::array<uint8_t, 3> planeColours{0, 1, 2};
    // The sensor's own colours are taken as they are: an identity matrix and a neutral white.
    const std::array<float, 9> colourMatrix{1, 0, 0, 0, 1, 0, 0, 0, 1};
    const std::array<float, 3> neutral{1, 1, 1};
    const std::string description(still.description);
    return TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, 0) &&
           TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, still.width) &&
           TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, still.height) &&
           TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) &&
           TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1) &&
           TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE) &&
           TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_CFA) &&
           TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
           TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, still.height) &&
           TIFFSetField(tiff, TIFFTAG_MAKE, "Orvane") &&
           TIFFSetField(tiff, TIFFTAG_MODEL, "OV7610 camera module") &&
           TIFFSetField(tiff, TIFFTAG_UNIQUECAMERAMODEL, "Orvane OV7610 camera module") &&
           TIFFSetField(tiff, TIFFTAG_DATETIME, time.c_str()) &&
           TIFFSetField(tiff, TIFFTAG_IMAGEDESCRIPTION, description.c_str()) &&
           TIFFSetField(tiff, TIFFTAG_DNGVERSION, dngVersion.data()) &&
           TIFFSetField(tiff, TIFFTAG_DNGBACKWARDVERSION, backwardVersion.data()) &&
           TIFFSetField(tiff, TIFFTAG_CFAREPEATPATTERNDIM, repeat.data()) &&
           TIFFSetField(tiff, TIFFTAG_CFAPATTERN, 4, cellPattern.data()) &&
           TIFFSetField(tiff, TIFFTAG_CFAPLANECOLOR, 3, planeColours.data()) &&
           TIFFSetField(tiff, TIFFTAG_CFALAYOUT, 1) &&
           TIFFSetField(tiff, TIFFTAG_BLACKLEVEL, 1, &blackLevel) &&
           TIFFSetField(tiff, TIFFTAG_WHITELEVEL, 1, &whiteLevel) &&
           TIFFSetField(tiff, TIFFTAG_COLORMATRIX1, 9, colourMatrix.data()) &&
           TIFFSetField(tiff, TIFFTAG_ASSHOTNEUTRAL, 3, neutral.data()) &&
           TIFFSetField(tiff, TIFFTAG_CALIBRATIONILLUMINANT1, 21); // D65
}

} // namespace

Status writeDng(const std::filesystem::path& path, const DngStill& still) {
    const std::size_t stride = still.stride != 0 ? still.stride : still.width;
    if (still.width < 2 || still.height < 2 || still.width % 2 != 0 || still.height % 2 != 0 ||
        stride < still.width || still.mosaic.size() < stride * (still.height - 1) + still.width)
        return {StatusCode::InvalidArgument,
                "a DNG still needs a mosaic of whole 2 x 2 cells (" + std::to_string(still.width) +
                    " x " + std::to_string(still.height) + ") in memory that holds it"};
    MemoryFile file;
    std::string firstError;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, keepFirstError, &firstError);
    TIFFOpenOptionsSetWarningHandlerExtR(options, dropWarning, nullptr);
    TIFF* tiff = TIFFClientOpenExt("dng", "w", &file, readMemory, writeMemory, seekMemory,
                                   closeMemory, sizeOfMemory, mapMemory, unmapMemory, options);
    TIFFOpenOptionsFree(options);
    // The directory goes first, ahead of the cells, where raw readers look for it.
    bool built = tiff != nullptr && writeTags(tiff, still, tiffTime(still.time)) &&
                 TIFFCheckpointDirectory(tiff) == 1;
    for (uint32_t row = 0; built && row < still.height; ++row) {
        // libtiff takes a writable row; it does not change it without compression.
        auto* cells = const_cast<uint8_t*>(still.mosaic.data() + row * stride);
        built = TIFFWriteScanline(tiff, cells, row, 0) == 1;
    }
    if (tiff != nullptr) {
        built = TIFFWriteDirectory(tiff) == 1 && built;
        TIFFClose(tiff);
    }
    if (!built)
        return fileError(path, firstError.empty() ? "libtiff could not make it" : firstError);
    if (!writeFileReplacing(path, file.bytes))
        return fileError(path, std::strerror(errno));
    return {};
}

} // namespace orvane
