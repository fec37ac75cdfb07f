// The upload on the headless panel against the simulated module: the exact port traffic, the
// trace, the refusals, and what a file failure leaves behind.
#include "app/panel_upload.h"
#include "image/live_frame.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/temp_directory.h"
#include "resources/bmp_header_template.h"
#include "support/panel_bench.h"

namespace orvane {
namespace {

using testing::PanelBench;
using testing::TempDirectory;

class Upload : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(writeBmpHeaderTemplate(directory.path()));
        bench.start();
    }

    // The control-port writes and trace lines from here on.
    void mark() {
        controlWritesBefore = bench.port.writtenTo(0x37A).size();
        accessesBefore = bench.port.accesses().size();
        bench.trace.clear();
    }
    std::vector<uint8_t> controlWritesSinceMark() const {
        const std::vector<uint8_t> all = bench.port.writtenTo(0x37A);
        return {all.begin() + static_cast<std::ptrdiff_t>(controlWritesBefore), all.end()};
    }
    bool exists(const char* name) const { return std::filesystem::exists(directory.path() / name); }

    TempDirectory directory;
    PanelBench bench{directory.path()};
    std::size_t controlWritesBefore = 0;
    std::size_t accessesBefore = 0;
};

TEST_F(Upload, PortTrafficIsTwoRegisterWritesAroundTheHandshake) {
    bench.panel.click(1); // Set Register
    mark();
    const uint8_t reg13 = bench.shadow().reg(0x13).value;

    bench.panel.click(1039);

    const std::vector<uint8_t> writes = controlWritesSinceMark();
    const std::size_t bytes = 208u * 626u; // the geometry Set Register computed
    ASSERT_EQ(writes.size(), 86u + 2u + 2u * bytes + 86u);
    EXPECT_EQ(writes[86], 0x25);
    EXPECT_EQ(writes[87], 0x21);
    for (std::size_t i = 0; i < bytes; ++i) {
        ASSERT_EQ(writes[88 + 2 * i], 0x20) << i;
        ASSERT_EQ(writes[89 + 2 * i], 0x21) << i;
    }
    EXPECT_EQ(writes.back(), 0x20);
    // One data-port read before each STROBE pulse, and nothing else read.
    std::size_t reads = 0;
    for (std::size_t i = accessesBefore; i < bench.port.accesses().size(); ++i) {
        const testing::PortAccess& access = bench.port.accesses()[i];
        if (!access.write) {
            ++reads;
            EXPECT_EQ(access.port, 0x378);
            ASSERT_TRUE(bench.port.accesses()[i + 1].write);
            EXPECT_EQ(bench.port.accesses()[i + 1].value, 0x20);
        }
    }
    EXPECT_EQ(reads, bytes);

    const std::vector<std::string>& lines = bench.trace.lines();
    ASSERT_EQ(lines.size(), 2u * 109u + 4u + 109u);
    EXPECT_EQ(lines[217], "press any key18\n");
    for (std::size_t i = 218; i < 222; ++i)
        EXPECT_EQ(lines[i], "pleasw wait\n");
    EXPECT_EQ(lines[222], " start setting registers \n");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "pleasw wait\n"), 4);

    const auto& decoded = bench.decoded();
    ASSERT_GE(decoded.size(), 2u);
    EXPECT_EQ(decoded[decoded.size() - 2], (DecodedTransaction{0x42, 0x13, uint8_t(reg13 + 4)}));
    EXPECT_EQ(decoded.back(), (DecodedTransaction{0x42, 0x13, reg13}));
    EXPECT_EQ(bench.viewer.launches, 1);
    EXPECT_TRUE(bench.panel.messages().size() == 1) << "only Set Register's message";
}

TEST_F(Upload, StartUpGeometryReads130000Bytes) {
    mark();
    bench.panel.click(1039);
    EXPECT_EQ(controlWritesSinceMark().size(), 86u + 2u + 2u * 130000u + 86u);
    EXPECT_EQ(std::filesystem::file_size(directory.path() / "test.raw"), 130000u);
    EXPECT_EQ(std::filesystem::file_size(directory.path() / "testfile.bmp"), 194742u);
}

TEST_F(Upload, UploadBitIsAddedModulo256ForTheFirstWriteOnly) {
    for (const uint8_t reg13 : {uint8_t{0x00}, uint8_t{0x04}, uint8_t{0xFE}}) {
        bench.shadow().reg(0x13).value = reg13;
        bench.panel.click(1039);
        const auto& decoded = bench.decoded();
        EXPECT_EQ(decoded[decoded.size() - 2].value, uint8_t(reg13 + 4));
        EXPECT_EQ(decoded.back().value, reg13);
        EXPECT_EQ(bench.shadow().reg(0x13).value, reg13) << "the shadow keeps its value";
    }
}

TEST_F(Upload, AfterResetUsesTheResetGeometry) {
    bench.panel.click(1026);
    mark();
    bench.panel.click(1039);
    EXPECT_EQ(controlWritesSinceMark().size(), 86u + 2u + 2u * 79134u + 86u);
    EXPECT_EQ(std::filesystem::file_size(directory.path() / "test.raw"), 79134u);
    EXPECT_EQ(std::filesystem::file_size(directory.path() / "testfile.bmp"), 54u + 242u * 972u);
    EXPECT_TRUE(bench.panel.messages().empty());
}

TEST_F(Upload, GeometryThatDoesNotFitIsRefusedBeforeAnythingIsSent) {
    const struct {
        FrameGeometry geometry; // or, with hEnd typed, the window Set Register sent
        const char* hEnd;
        std::string_view text; // how the message starts
    } refused[] = {
        {{}, "58", "Horizontal Start 57 and End 58 leave no pixels."},
        {{}, "59", "Horizontal Start 57 and End 59 leave no pixels."},
        {{0xFFFFFFFE, 208, 208, 0xFFFFFFFE}, "", "The window set last leaves no pixels."},
        {{700, 460, 460, 1402}, "", "The frame of 700 x 460 pixels (460 lines of 1402 bytes) does"},
        {{312, 600, 600, 626}, "", "The frame of 312 x 600 pixels (600 lines of 626 bytes) does"},
        {{1, 208, 208, 4}, "", "The window set last leaves no pixels."},
        {{312, 1, 1, 626}, "", "The window set last leaves fewer than two lines."},
    };
    for (const auto& c : refused) {
        bench.geometry() = c.geometry;
        if (*c.hEnd) {
            bench.panel.typeText(1042, "57");
            bench.panel.typeText(1044, c.hEnd);
            bench.panel.click(1);
        }
        mark();
        bench.panel.clearMessages();
        bench.panel.click(1039);
        EXPECT_EQ(bench.port.accesses().size(), accessesBefore);
        EXPECT_TRUE(bench.trace.lines().empty());
        ASSERT_EQ(bench.panel.messages().size(), 1u);
        EXPECT_EQ(bench.panel.messages()[0].caption, "Improper range");
        EXPECT_EQ(std::string_view(bench.panel.messages()[0].text).substr(0, c.text.size()),
                  c.text);
        EXPECT_FALSE(exists("test.raw"));
    }
    EXPECT_TRUE(frameFitsBuffers({624, 482, 482, 627}, dataFormatRgb)) << "the widest RGB window";
    EXPECT_FALSE(frameFitsBuffers({640, 482, 482, 643}, dataFormatRgb)) << "line buffer";
}

struct FailureCase {
    const char* name;
    const char* blocked; // a directory standing where the file must go, or removed
    bool full;           // a link to /dev/full instead of the directory
    const char* message;
    bool rawWritten;
    bool bmpWritten;
};

TEST_F(Upload, FileFailuresSayWhyAndAlwaysSwitchTheSensorBack) {
    const FailureCase cases[] = {
        {"RawDump", "test.raw", false, "test.raw could not be opened\n", false, false},
        {"RawDumpFull", "test.raw", true, "test.raw could not be opened\n", false, false},
        {"MissingTemplate", "bmphead24", false, "bmphead24 could not be opened\n", true, false},
        {"Bmp", "testfile.bmp", false, "testfile.bmp could not be opened\n", true, false},
        {"BmpFull", "testfile.bmp", true, "testfile.bmp could not be opened\n", true, false},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDirectory dir;
        PanelBench run(dir.path());
        run.start();
        if (std::string(c.blocked) != "bmphead24") {
            ASSERT_TRUE(writeBmpHeaderTemplate(dir.path()));
            if (c.full)
                std::filesystem::create_symlink("/dev/full", dir.path() / c.blocked);
            else
                std::filesystem::create_directory(dir.path() / c.blocked);
        }
        run.panel.click(1039);
        const std::vector<RecordedMessage> expected = {{"Error Message", c.message}};
        EXPECT_EQ(run.panel.messages(), expected);
        EXPECT_FALSE(run.panel.ended()) << "a file never ends the program";
        EXPECT_EQ(std::filesystem::is_regular_file(dir.path() / "test.raw"), c.rawWritten);
        EXPECT_EQ(std::filesystem::is_regular_file(dir.path() / "testfile.bmp"), c.bmpWritten);
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_NE(entry.path().filename().string()[0], '.') << "a temporary left behind";
        EXPECT_EQ(run.viewer.launches, 0);
        EXPECT_EQ(run.decoded().back(), (DecodedTransaction{0x42, 0x13, 0x20}));
        EXPECT_EQ(run.port.accesses().back(), (testing::PortAccess{true, 0x37A, 0x20}));
        EXPECT_FALSE(run.panel.busy());
    }
}

TEST_F(Upload, SaveAsCopiesTheBmpAndResetsTheName) {
    bench.panel.click(1039);
    bench.panel.typeText(1065, "copy.bmp");
    bench.panel.clearMessages();
    bench.panel.click(1066);
    const std::vector<RecordedMessage> saved = {
        {"Color Orvane Message", "The new file was saved!\n"}};
    EXPECT_EQ(bench.panel.messages(), saved);
    EXPECT_EQ(bench.panel.editText(1065), "filename.BMP");
    EXPECT_EQ(std::filesystem::file_size(directory.path() / "copy.bmp"), 194742u);

    bench.panel.typeText(1065, "");
    bench.panel.clearMessages();
    bench.panel.click(1066);
    const std::vector<RecordedMessage> failed = {
        {"Error Message", "The new file could not be opened\n"}};
    EXPECT_EQ(bench.panel.messages(), failed);
    EXPECT_EQ(bench.panel.editText(1065), "");
    EXPECT_FALSE(bench.panel.ended());
}

} // namespace
} // namespace orvane
