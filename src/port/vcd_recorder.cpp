// Recording port accesses as a Value Change Dump.
#include "port/vcd_recorder.h"

#include "files/output_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "port/control_lines.h"
#include "port/parallel_port.h"

namespace orvane {
namespace {

// Indices into vcdSignals.
constexpr std::size_t sclSignal = 0;
constexpr std::size_t sdaSignal = 1;
constexpr std::size_t strobeSignal = 2;
constexpr std::size_t initSignal = 3;
constexpr std::size_t dataInputSignal = 4;
constexpr std::size_t readSignal = 5;
constexpr std::size_t firstDataLine = 6;

static_assert(vcdSignals[sclSignal].name == "scl" && vcdSignals[sdaSignal].name == "sda");
static_assert(vcdSignals[readSignal].name == "read");
static_assert(vcdSignals[firstDataLine].name == "d0" && vcdSignals[firstDataLine + 7].name == "d7");

// Identifier codes: one printable character per signal, from '!' on.
constexpr char identifier(std::size_t signal) {
    return static_cast<char>('!' + signal);
}

// Room the closing time stamp needs: '#', at most 20 digits and a newline.
constexpr std::size_t closingStampBytes = 22;

} // namespace

Status VcdRecorder::create(PortIo& inner, const std::filesystem::path& path, uint64_t limit,
                           SettingNaming naming, std::unique_ptr<VcdRecorder>& recorder) {
    recorder.reset();
    OutputFile opened;
    if (const Status status = openOutputFile(path, opened); !status) {
        return {StatusCode::FileError, settingText(naming, Setting::Recording, path.string()) +
                                           ": the file cannot be created (" + status.message() +
                                           "); give a path in a writable directory, or " +
                                           leaveOutText(naming, Setting::Recording)};
    }
    File file(opened.release());
    // The recorder keeps its own buffer; a second one inside the stream would only copy.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    recorder =
        std::make_unique<VcdRecorder>(Key{}, inner, std::move(file), path,
                                      limit != 0 ? std::max(limit, minimumRecordingLimit) : 0);
    recorder->writeHeader();
    return {};
}

VcdRecorder::VcdRecorder(Key, PortIo& inner, File file, std::filesystem::path path, uint64_t limit)
    : inner_(inner), file_(std::move(file)), path_(std::move(path)),
      buffer_(std::make_unique<char[]>(bufferSize)), limit_(limit) {}

VcdRecorder::~VcdRecorder() {
    close();
}

void VcdRecorder::writeHeader() {
    put("$comment\n  Orvane panel: every access to the parallel port, one time step each.\n");
    for (const VcdSignalInfo& signal : vcdSignals) {
        put("  ");
        put(signal.name);
        put(": ");
        put(signal.meaning);
        put('\n');
    }
    put("$end\n$timescale ");
    put(vcdTimescale);
    put(" $end\n$scope module lpt1 $end\n");
    for (std::size_t i = 0; i < vcdSignals.size(); ++i) {
        put("$var wire 1 ");
        put(identifier(i));
        put(' ');
        put(vcdSignals[i].name);
        put(" $end\n");
        drain();
    }
    put("$upscope $end\n$enddefinitions $end\n");

    // Nothing is known of the lines before the first access; only "read" has a meaning.
    levels_[readSignal] = 0;
    known_[readSignal] = true;
    put("#0\n$dumpvars\n");
    for (std::size_t i = 0; i < vcdSignals.size(); ++i) {
        putValue(i);
        written_[i] = levels_[i];
        writtenKnown_[i] = known_[i];
    }
    put("$end\n");
    drain();
}

void VcdRecorder::writePort(uint16_t port, uint8_t value) {
    inner_.writePort(port, value);
    if (!file_)
        return;
    switch (port) {
    case ParallelPort::controlPort: {
        const ControlLines lines = controlLinesFor(value);
        levels_[sclSignal] = lines.clock;
        levels_[sdaSignal] = lines.data;
        levels_[strobeSignal] = lines.strobe;
        levels_[initSignal] = lines.init;
        levels_[dataInputSignal] = lines.dataPortInput;
        for (const std::size_t signal :
             {sclSignal, sdaSignal, strobeSignal, initSignal, dataInputSignal})
            known_[signal] = true;
        break;
    }
    case ParallelPort::dataPort:
        setDataLines(value);
        break;
    default:
        break;
    }
    levels_[readSignal] = 0;
    step();
}

uint8_t VcdRecorder::readPort(uint16_t port) {
    const uint8_t value = inner_.readPort(port);
    if (!file_)
        return value;
    const bool dataRead = port == ParallelPort::dataPort;
    if (dataRead)
        setDataLines(value);
    levels_[readSignal] = dataRead ? 1 : 0;
    step();
    return value;
}

void VcdRecorder::setDataLines(uint8_t value) {
    for (std::size_t bit = 0; bit < 8; ++bit) {
        levels_[firstDataLine + bit] = (value >> bit) & 1;
        known_[firstDataLine + bit] = true;
    }
}

void VcdRecorder::step() {
    // The dump ends, complete, at the last access that fits with its closing time stamp.
    if (limit_ != 0 && drained_ + fill_ + maxStepBytes + closingStampBytes > limit_) {
        limitReached_ = true;
        close();
        return;
    }
    ++time_;
    bool stamped = false;
    for (std::size_t i = 0; i < vcdSignals.size(); ++i) {
        if (!known_[i] || (writtenKnown_[i] && written_[i] == levels_[i]))
            continue;
        if (!stamped) {
            put('#');
            putUnsigned(time_);
            put('\n');
            stamped = true;
        }
        putValue(i);
        written_[i] = levels_[i];
        writtenKnown_[i] = true;
    }
    if (fill_ + maxStepBytes > bufferSize)
        drain();
}

bool VcdRecorder::close() {
    if (!file_)
        return !failed_;
    // The last access lasts one step, like every other.
    put('#');
    putUnsigned(time_ + 1);
    put('\n');
    drain();
    if (std::fflush(file_.get()) != 0)
        failed_ = true;
    if (std::fclose(file_.release()) != 0)
        failed_ = true;
    return !failed_;
}

void VcdRecorder::put(std::string_view text) {
    std::memcpy(buffer_.get() + fill_, text.data(), text.size());
    fill_ += text.size();
}

void VcdRecorder::putUnsigned(uint64_t value) {
    char digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        put(digits[--count]);
}

void VcdRecorder::putValue(std::size_t signal) {
    put(known_[signal] ? static_cast<char>('0' + levels_[signal]) : 'x');
    put(identifier(signal));
    put('\n');
}

void VcdRecorder::drain() {
    if (fill_ == 0)
        return;
    if (std::fwrite(buffer_.get(), 1, fill_, file_.get()) != fill_)
        failed_ = true;
    drained_ += fill_;
    fill_ = 0;
}

} // namespace orvane
