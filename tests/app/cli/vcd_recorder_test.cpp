// The port-access recorder: the exact dump of a few accesses, and recordings of a whole Set
// Register and a whole upload read back by our own reader and judged by the bus decoder.
#include "port/vcd_recorder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/control_panel_dialog.h"
#include "app/headless/headless_panel.h"
#include "image/temp_directory.h"
#include "orvane/camera.h"
#include "port/parallel_port.h"
#include "resources/bmp_header_template.h"
#include "resources/control_ids.h"
#include "resources/panel_templates.h"
#include "sim/simulated_camera_module.h"
#include "support/panel_bench.h"
#include "vcd_reader.h"

namespace orvane {
namespace {

using testing::readFileBytes;
using testing::TempDirectory;

// Answers data-port reads with the given bytes in turn, other reads with 0x7F.
class ScriptedReads final : public PortIo {
public:
    explicit ScriptedReads(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    void writePort(uint16_t, uint8_t) override {}
    uint8_t readPort(uint16_t port) override {
        return port == ParallelPort::dataPort ? bytes_.at(next_++) : uint8_t{0x7F};
    }

private:
    std::vector<uint8_t> bytes_;
    std::size_t next_ = 0;
};

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A recorder on port into path, or a failed test.
std::unique_ptr<VcdRecorder> recorderOn(PortIo& port, const std::filesystem::path& path) {
    std::unique_ptr<VcdRecorder> recorder;
    const Status status = VcdRecorder::create(port, path, 0, SettingNaming::Environment, recorder);
    EXPECT_TRUE(status) << status.message();
    return recorder;
}

TEST(VcdRecorder, WritesOneStepPerAccessWithTheLineLevelsItMeans) {
    TempDirectory directory;
    const auto path = directory.path() / "a.vcd";
    ScriptedReads device({0xA5, 0xA5});
    testing::RecordingPort seen(&device);
    const std::unique_ptr<VcdRecorder> created = recorderOn(seen, path);
    ASSERT_NE(created, nullptr);
    VcdRecorder& recorder = *created;

    recorder.writePort(ParallelPort::ecrPort, 0x20);     // 1: no line changes
    recorder.writePort(ParallelPort::controlPort, 0x20); // 2: every line idle, data lines inputs
    recorder.writePort(ParallelPort::controlPort, 0x22); // 3: data low (AUTOFD inverted)
    EXPECT_EQ(recorder.readPort(ParallelPort::dataPort), 0xA5); // 4
    recorder.writePort(ParallelPort::controlPort, 0x21); // 5: STROBE low (inverted), data high
    EXPECT_EQ(recorder.readPort(ParallelPort::dataPort), 0xA5);   // 6: same byte, read again
    EXPECT_EQ(recorder.readPort(ParallelPort::statusPort), 0x7F); // 7: not a data read
    EXPECT_TRUE(recorder.close());
    EXPECT_EQ(recorder.accesses(), 7u);

    const std::vector<testing::PortAccess> passed{
        {true, 0x77A, 0x20}, {true, 0x37A, 0x20},  {true, 0x37A, 0x22}, {false, 0x378, 0xA5},
        {true, 0x37A, 0x21}, {false, 0x378, 0xA5}, {false, 0x379, 0x7F}};
    EXPECT_EQ(seen.accesses(), passed);

    const std::string text = fileText(path);
    EXPECT_NE(text.find("$timescale 1us $end\n"), std::string::npos);
    const std::string body = text.substr(text.find("$enddefinitions $end\n"));
    EXPECT_EQ(body, "$enddefinitions $end\n"
                    "#0\n$dumpvars\nx!\nx\"\nx#\nx$\nx%\n0&\nx'\nx(\nx)\nx*\nx+\nx,\nx-\nx.\n$end\n"
                    "#2\n1!\n1\"\n1#\n0$\n1%\n"
                    "#3\n0\"\n"
                    "#4\n1&\n1'\n0(\n1)\n0*\n0+\n1,\n0-\n1.\n"
                    "#5\n1\"\n0#\n0&\n"
                    "#6\n1&\n"
                    "#7\n0&\n"
                    "#8\n");
}

// The whole panel with the recorder between the dialog and the simulated module.
struct RecordedPanel {
    explicit RecordedPanel(const std::filesystem::path& directory)
        : recorder(recorderOn(module, directory / "run.vcd")),
          dialog(panel, *recorder, trace, ticks, viewer, directory) {
        if (!dialog.initialize())
            throw std::runtime_error("buffers could not be allocated");
    }
    testing::VcdRecording finish() {
        EXPECT_TRUE(recorder->close());
        std::string error;
        auto recording = testing::readVcd(recorder->path(), error);
        EXPECT_TRUE(recording) << error;
        return recording.value_or(testing::VcdRecording{});
    }

    SimulatedCameraModule module;
    std::unique_ptr<VcdRecorder> recorder;
    CountingTraceSink trace;
    testing::SteppingTickCounter ticks{0, 1};
    testing::CountingViewerLauncher viewer;
    HeadlessPanel panel{controlPanelTemplate};
    ControlPanelDialog dialog;
};

TEST(VcdRecorder, SetRegisterRightAfterStartDecodesAsItsFortyEightTransactions) {
    TempDirectory directory;
    RecordedPanel bench(directory.path());
    ASSERT_TRUE(bench.panel.click(ControlId::setRegisterButton));
    const testing::VcdRecording recording = bench.finish();

    EXPECT_EQ(recording.timescale, "1us");
    EXPECT_EQ(recording.steps.size(), 2 + 48 * 86 + 1u); // set-up, 48 transactions, time 0
    const BusDecoder decoded = testing::decodeBus(recording);
    EXPECT_TRUE(decoded.violations().empty());
    // The module decoded the same writes straight from the port: the two must agree entry for
    // entry, and the run ends with the free register and then the auto-adjust step.
    ASSERT_EQ(decoded.transactions().size(), 48u);
    EXPECT_EQ(decoded.transactions(), bench.module.bus().transactions());
    EXPECT_EQ(decoded.transactions()[0], (DecodedTransaction{0x42, 0x05, 0x00}));
    EXPECT_EQ(decoded.transactions()[46], (DecodedTransaction{0x42, 0x00, 0x00}));
    EXPECT_EQ(decoded.transactions()[47], (DecodedTransaction{0x42, 0x13, 0x21}));
}

TEST(VcdRecorder, UploadShowsEveryDataReadWithItsByte) {
    TempDirectory directory;
    ASSERT_TRUE(writeBmpHeaderTemplate(directory.path()));
    RecordedPanel bench(directory.path());
    ASSERT_TRUE(bench.panel.click(ControlId::uploadButton));
    const testing::VcdRecording recording = bench.finish();

    const std::vector<uint8_t> raw = readFileBytes(directory.path() / "test.raw");
    ASSERT_EQ(raw.size(), 208 * 625u);
    EXPECT_EQ(testing::dataReads(recording), raw);
    EXPECT_EQ(testing::risingEdges(recording, "init"), 1u);
    EXPECT_EQ(testing::decodeBus(recording).transactions().size(), 2u);
}

// A limited recording ends as a complete dump no larger than its limit, and the frame is still
// captured in full.
TEST(VcdRecorder, EndsCompleteAtItsSizeLimit) {
    TempDirectory directory;
    CameraOptions options;
    options.recording = (directory.path() / "run.vcd").string();
    options.recordingLimit = minimumRecordingLimit;
    Status status;
    std::unique_ptr<Camera> camera = Camera::open("sim", status, options);
    ASSERT_NE(camera, nullptr) << status.message();
    FrameLayout layout;
    ASSERT_TRUE(camera->layout(PixelFormat::Raw, layout));
    std::vector<uint8_t> frame(layout.bytes);
    ASSERT_TRUE(camera->capture(PixelFormat::Raw, frame));
    EXPECT_EQ(camera->recordingState(), RecordingState::LimitReached);
    EXPECT_TRUE(camera->finishRecording());

    const auto size = std::filesystem::file_size(options.recording);
    EXPECT_LE(size, minimumRecordingLimit);
    EXPECT_GT(size, minimumRecordingLimit - 1024);
    std::string error;
    const auto recording = testing::readVcd(options.recording, error);
    ASSERT_TRUE(recording) << error;
    EXPECT_GT(recording->steps.size(), 1000u);
}

TEST(VcdRecorder, LimitIsBytesOrKMOrG) {
    const std::pair<std::optional<std::string_view>, uint64_t> sizes[] = {
        {std::nullopt, 0},      {"", 0},           {"65536", 65536}, {"64k", 65536},
        {"500M", 500ull << 20}, {"2G", 2ull << 30}};
    for (const auto& [text, bytes] : sizes) {
        uint64_t limit = 1;
        EXPECT_EQ(recordingLimitFrom(text.value_or(""), limit).message(), "");
        EXPECT_EQ(limit, bytes) << *text;
    }
    for (std::string_view text : {"65535", "5X", "1.5M", "-1", "M", "64 K", "99999999999999G"}) {
        uint64_t limit = 1;
        const Status status = recordingLimitFrom(text, limit);
        EXPECT_EQ(limit, 0u) << text;
        EXPECT_NE(status.message().find("ORVANE_VCD_LIMIT=" + std::string(text) + ": not a size"),
                  std::string::npos);
    }
}

} // namespace
} // namespace orvane
