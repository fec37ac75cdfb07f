// Raw dump, header template, BMP writer and Save As, checked on the bytes of the files.
#include "image/image_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <numeric>
#include <string>
#include <vector>

#include "image/temp_directory.h"

namespace orvane {
namespace {

using testing::readFileBytes;
using testing::TempDirectory;
using testing::writeFileBytes;

// A BMP template whose every byte is recognisable, so kept and patched bytes can be told apart.
std::vector<uint8_t> markedTemplate() {
    std::vector<uint8_t> bytes(bmpHeaderSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(0x80 + i);
    std::copy_n("BM", 2, bytes.begin());
    return bytes;
}

uint8_t bluePixel(std::size_t y, std::size_t x) {
    return uint8_t(x * 3 + y);
}
uint8_t greenPixel(std::size_t y, std::size_t x) {
    return uint8_t(x + y * 5 + 1);
}
uint8_t redPixel(std::size_t y, std::size_t x) {
    return uint8_t(x * 7 + y * 11 + 2);
}

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(buffers_.allocate()); }

    void fillPlanes(const FrameGeometry& g) {
        for (std::size_t y = 0; y < g.imageHeight; ++y)
            for (std::size_t x = 0; x < g.imageWidth; ++x) {
                const std::size_t j = y * g.imageWidth + x;
                buffers_.bluePlane()[j] = bluePixel(y, x);
                buffers_.greenPlane()[j] = greenPixel(y, x);
                buffers_.redPlane()[j] = redPixel(y, x);
            }
    }

    // An upload's BMP steps: template into bmpHeader, then the writer.
    FileResult writeBmp(const FrameGeometry& g) {
        writeFileBytes(dir_.path() / "bmphead24", markedTemplate());
        EXPECT_EQ(readBmpHeader(dir_.path(), buffers_.bmpHeader()), FileResult::ok);
        fillPlanes(g);
        // Leftovers in the image buffer must not reach the padding.
        std::fill(buffers_.bmpImage().begin(), buffers_.bmpImage().end(), uint8_t{0xAA});
        return BmpWriter(dir_.path(), buffers_, g);
    }

    FrameBuffers buffers_;
    TempDirectory dir_;
};

TEST_F(ImageFiles, RawDumpHoldsTheBytesReadAndReplacesAnOlderFile) {
    const FrameGeometry g{312, 208, 208, 625};
    std::iota(buffers_.rawFrame().begin(), buffers_.rawFrame().end(), uint8_t{3});
    writeFileBytes(dir_.path() / "test.raw", std::vector<uint8_t>(200000, 1));
    ASSERT_EQ(writeRawDump(dir_.path(), buffers_.rawFrame(), g), FileResult::ok);
    const std::vector<uint8_t> file = readFileBytes(dir_.path() / "test.raw");
    ASSERT_EQ(file.size(), 130000u);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), buffers_.rawFrame().begin()));
}

TEST_F(ImageFiles, RawDumpThatCannotBeCreatedIsReportedAndWritesNothing) {
    std::filesystem::create_directory(dir_.path() / "test.raw");
    EXPECT_EQ(writeRawDump(dir_.path(), buffers_.rawFrame(), FrameGeometry{}),
              FileResult::rawDumpNotOpened);
    EXPECT_EQ(dir_.entries(), std::set<std::string>{"test.raw"});
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path() / "test.raw"));

    const std::filesystem::path missing = dir_.path() / "no-such-directory";
    EXPECT_EQ(writeRawDump(missing, buffers_.rawFrame(), FrameGeometry{}),
              FileResult::rawDumpNotOpened);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(ImageFiles, HeaderIsReadFromTheTemplate) {
    std::vector<uint8_t> withTail = markedTemplate();
    withTail.resize(100, 0x11); // only the first 54 bytes count
    writeFileBytes(dir_.path() / "bmphead24", withTail);
    ASSERT_EQ(readBmpHeader(dir_.path(), buffers_.bmpHeader()), FileResult::ok);
    const std::vector<uint8_t> expected = markedTemplate();
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), buffers_.bmpHeader().begin()));
}

TEST_F(ImageFiles, ShortOrForeignTemplateIsRefusedAndTheHeaderUntouched) {
    std::fill(buffers_.bmpHeader().begin(), buffers_.bmpHeader().end(), uint8_t{0x5A});
    for (const auto& bytes : {std::vector<uint8_t>{'B', 'M', 7}, std::vector<uint8_t>(54, 'X')}) {
        writeFileBytes(dir_.path() / "bmphead24", bytes);
        EXPECT_EQ(readBmpHeader(dir_.path(), buffers_.bmpHeader()), FileResult::templateNotOpened);
    }
    for (const uint8_t b : buffers_.bmpHeader())
        EXPECT_EQ(b, 0x5A);
}

TEST_F(ImageFiles, MissingTemplateIsReportedAndTheHeaderUntouched) {
    std::fill(buffers_.bmpHeader().begin(), buffers_.bmpHeader().end(), uint8_t{0x5A});
    EXPECT_EQ(readBmpHeader(dir_.path(), buffers_.bmpHeader()), FileResult::templateNotOpened);
    std::filesystem::create_directory(dir_.path() / "bmphead24");
    EXPECT_EQ(readBmpHeader(dir_.path(), buffers_.bmpHeader()), FileResult::templateNotOpened);
    std::filesystem::remove(dir_.path() / "bmphead24");
    ASSERT_EQ(mkfifo((dir_.path() / "bmphead24").c_str(), 0600), 0); // must not wait for a writer
    EXPECT_EQ(readBmpHeader(dir_.path(), buffers_.bmpHeader()), FileResult::templateNotOpened);
    for (const uint8_t b : buffers_.bmpHeader())
        EXPECT_EQ(b, 0x5A);
}

TEST_F(ImageFiles, StartUpGeometryGivesTheWrittenLengthAndSizeBytes) {
    const FrameGeometry g{312, 208, 208, 625};
    ASSERT_EQ(writeBmp(g), FileResult::ok);
    const std::vector<uint8_t> file = readFileBytes(dir_.path() / "testfile.bmp");
    ASSERT_EQ(file.size(), 194742u);
    EXPECT_EQ(file[18], 0x38);
    EXPECT_EQ(file[19], 0x01);
    EXPECT_EQ(file[22], 0xD0);
    EXPECT_EQ(file[23], 0x00);
    const std::vector<uint8_t> tmpl = markedTemplate();
    for (std::size_t i = 0; i < bmpHeaderSize; ++i) {
        if (i != 18 && i != 19 && i != 22 && i != 23) {
            EXPECT_EQ(file[i], tmpl[i]) << "header byte " << i;
        }
    }
    // The patched header stays in bmpHeader for the next upload.
    EXPECT_TRUE(std::equal(file.begin(), file.begin() + 54, buffers_.bmpHeader().begin()));
}

TEST_F(ImageFiles, FirstPixelBytesAreTheBottomLeftPixelBlueGreenRed) {
    const FrameGeometry g{8, 5, 5, 19};
    ASSERT_EQ(writeBmp(g), FileResult::ok);
    const std::vector<uint8_t> file = readFileBytes(dir_.path() / "testfile.bmp");
    EXPECT_EQ(file[54], bluePixel(4, 0));
    EXPECT_EQ(file[55], greenPixel(4, 0));
    EXPECT_EQ(file[56], redPixel(4, 0));
}

// Reads every pixel back with a plain reader of its own and checks the padding.
void expectPixelsAndPadding(const std::vector<uint8_t>& file, const FrameGeometry& g,
                            std::size_t stride) {
    ASSERT_EQ(file.size(), 54 + g.imageHeight * stride);
    for (std::size_t fileRow = 0; fileRow < g.imageHeight; ++fileRow) {
        const std::size_t y = g.imageHeight - 1 - fileRow;
        const uint8_t* row = file.data() + 54 + fileRow * stride;
        for (std::size_t x = 0; x < g.imageWidth; ++x) {
            ASSERT_EQ(row[3 * x], bluePixel(y, x)) << y << "," << x;
            ASSERT_EQ(row[3 * x + 1], greenPixel(y, x)) << y << "," << x;
            ASSERT_EQ(row[3 * x + 2], redPixel(y, x)) << y << "," << x;
        }
        for (std::size_t i = 3 * g.imageWidth; i < stride; ++i)
            ASSERT_EQ(row[i], 0) << "padding of file row " << fileRow;
    }
}

TEST_F(ImageFiles, RowsOfWidth314ArePaddedToStride944) {
    const FrameGeometry g{314, 6, 6, 630};
    EXPECT_EQ(bmpRowStride(314), 944u);
    ASSERT_EQ(writeBmp(g), FileResult::ok);
    const std::vector<uint8_t> file = readFileBytes(dir_.path() / "testfile.bmp");
    expectPixelsAndPadding(file, g, 944);
    EXPECT_EQ(file[18], 0x3A);
    EXPECT_EQ(file[19], 0x01);
    EXPECT_EQ(file[22], 6);
    EXPECT_EQ(file[23], 0);
}

TEST_F(ImageFiles, StrideIsThreeBytesPerPixelRoundedUpToFour) {
    const struct {
        uint32_t width;
        std::size_t stride;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {312, 936}, {313, 940}, {315, 948}};
    for (const auto& c : cases) {
        EXPECT_EQ(bmpRowStride(c.width), c.stride) << c.width;
        const FrameGeometry g{c.width, 3, 3, 2 * c.width};
        ASSERT_EQ(writeBmp(g), FileResult::ok);
        expectPixelsAndPadding(readFileBytes(dir_.path() / "testfile.bmp"), g, c.stride);
    }
}

TEST_F(ImageFiles, BmpThatCannotBeCreatedIsReportedAndWritesNothingElse) {
    std::filesystem::create_directory(dir_.path() / "testfile.bmp");
    const FrameGeometry g{8, 4, 4, 16};
    EXPECT_EQ(writeBmp(g), FileResult::bmpNotCreated);
    EXPECT_EQ(dir_.entries(), (std::set<std::string>{"bmphead24", "testfile.bmp"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path() / "testfile.bmp"));
}

TEST_F(ImageFiles, BmpOfAFrameLargerThanTheBuffersIsRefused) {
    const FrameGeometry g{640, 501, 501, 1280};
    std::fill_n(buffers_.bmpImage().begin(), 60, uint8_t{0x33});
    EXPECT_EQ(BmpWriter(dir_.path(), buffers_, g), FileResult::frameDoesNotFit);
    EXPECT_TRUE(dir_.entries().empty());
    EXPECT_EQ(buffers_.bmpImage()[0], 0x33);
}

class SaveAs : public ::testing::TestWithParam<std::size_t> {
protected:
    TempDirectory dir_;
};

// Short, the usual length, and longer than any BMP the panel writes.
TEST_P(SaveAs, CopiesTheSourceByteForByte) {
    std::vector<uint8_t> source(GetParam());
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = uint8_t(i * 31 + i / 251);
    writeFileBytes(dir_.path() / "testfile.bmp", source);
    writeFileBytes(dir_.path() / "copy.BMP", std::vector<uint8_t>(source.size() + 5000, 9));
    ASSERT_EQ(saveBmpAs(dir_.path(), "copy.BMP"), FileResult::saved);
    EXPECT_EQ(readFileBytes(dir_.path() / "copy.BMP"), source);
    EXPECT_EQ(readFileBytes(dir_.path() / "testfile.bmp"), source);
}

INSTANTIATE_TEST_SUITE_P(ImageFiles, SaveAs, ::testing::Values(0u, 5u, 194742u, 900001u));

TEST(SaveAsFailures, MissingSourceIsReportedAndNothingIsCreated) {
    TempDirectory dir;
    EXPECT_EQ(saveBmpAs(dir.path(), "copy.bmp"), FileResult::bmpNotReadable);
    std::filesystem::create_directory(dir.path() / "testfile.bmp");
    EXPECT_EQ(saveBmpAs(dir.path(), "copy.bmp"), FileResult::bmpNotReadable);
    std::filesystem::remove(dir.path() / "testfile.bmp");
    ASSERT_EQ(mkfifo((dir.path() / "testfile.bmp").c_str(), 0600), 0);
    EXPECT_EQ(saveBmpAs(dir.path(), "copy.bmp"), FileResult::bmpNotReadable);
    EXPECT_EQ(dir.entries(), std::set<std::string>{"testfile.bmp"});
}

TEST(SaveAsFailures, NameThatCannotBeCreatedIsReportedAndNothingIsWritten) {
    TempDirectory dir;
    const std::vector<uint8_t> source{'B', 'M', 1, 2, 3};
    writeFileBytes(dir.path() / "testfile.bmp", source);
    std::filesystem::create_directory(dir.path() / "taken");
    using namespace std::string_view_literals;
    for (const std::string_view name :
         {""sv, "taken"sv, "missing/copy.bmp"sv, "/dev/full"sv, "a\0b"sv, "a\nb"sv, "del\x7f"sv}) {
        EXPECT_EQ(saveBmpAs(dir.path(), name), FileResult::newFileNotOpened) << '"' << name << '"';
        EXPECT_EQ(dir.entries(), (std::set<std::string>{"taken", "testfile.bmp"}));
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "taken"));
    EXPECT_EQ(readFileBytes(dir.path() / "testfile.bmp"), source);
}

TEST(SaveAsFailures, FailedWriteKeepsTheOldFileWholeAndALinkStaysALinkWithItsMode) {
    TempDirectory dir;
    writeFileBytes(dir.path() / "testfile.bmp", std::vector<uint8_t>(194742, 0xEE));
    writeFileBytes(dir.path() / "old.dat", std::vector<uint8_t>(1000, 0x0D));
    const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(dir.path() / "old.dat", mode);
    std::filesystem::create_symlink("old.dat", dir.path() / "copy.bmp");
    // No file may grow past 4096 bytes meanwhile: a longer write fails as on a full disk.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit full{4096, saved.rlim_max};
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &full);
    const FileResult result = saveBmpAs(dir.path(), "copy.bmp");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, signal);
    EXPECT_EQ(result, FileResult::newFileNotOpened);
    EXPECT_EQ(readFileBytes(dir.path() / "old.dat"), std::vector<uint8_t>(1000, 0x0D));
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"copy.bmp", "old.dat", "testfile.bmp"}));
    ASSERT_EQ(saveBmpAs(dir.path(), "copy.bmp"), FileResult::saved);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "copy.bmp"));
    EXPECT_EQ(readFileBytes(dir.path() / "old.dat").size(), 194742u);
    EXPECT_EQ(std::filesystem::status(dir.path() / "old.dat").permissions(), mode);
}

TEST(SaveAsFailures, NameIsTakenAsTypedWithoutAddingAnExtension) {
    TempDirectory dir;
    writeFileBytes(dir.path() / "testfile.bmp", std::vector<uint8_t>{1, 2});
    ASSERT_EQ(saveBmpAs(dir.path(), "plain name"), FileResult::saved);
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"plain name", "testfile.bmp"}));
}

struct MessageCase {
    FileResult result;
    const char* text;
    const char* caption;
};

TEST(FileMessages, EachResultAsksForItsExactText) {
    const MessageCase cases[] = {
        {FileResult::rawDumpNotOpened, "test.raw could not be opened\n", "Error Message"},
        {FileResult::templateNotOpened, "bmphead24 could not be opened\n", "Error Message"},
        {FileResult::bmpNotCreated, "testfile.bmp could not be opened\n", "Error Message"},
        {FileResult::bmpNotReadable, "testfile.bmp could not be opened\n", "Error Message"},
        {FileResult::newFileNotOpened, "The new file could not be opened\n", "Error Message"},
        {FileResult::saved, "The new file was saved!\n", "Color Orvane Message"},
    };
    for (const MessageCase& c : cases) {
        const std::optional<FileMessage> message = fileMessage(c.result);
        ASSERT_TRUE(message.has_value()) << c.text;
        EXPECT_EQ(message->text, c.text);
        EXPECT_EQ(message->caption, c.caption);
    }
    EXPECT_FALSE(fileMessage(FileResult::ok).has_value());
    EXPECT_FALSE(fileMessage(FileResult::frameDoesNotFit).has_value());
}

} // namespace
} // namespace orvane
