// The studio's files and figures: settings replayed by orvane-cli, snapshots, the histogram, the
// raw samples under the pointer, and typed fields that apply only when finished.
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/cli/script_runner.h"
#include "app/control_panel_dialog.h"
#include "app/headless/headless_panel.h"
#include "image/temp_directory.h"
#include "image/viewer_launch.h"
#include "port/tick_counter.h"
#include "resources/panel_templates.h"
#include "sim/simulated_camera_module.h"
#include "studio/controls_dock.h"
#include "studio/histogram_view.h"
#include "studio/pixel_readout.h"
#include "studio/settings_profile.h"
#include "studio/snapshot_files.h"

namespace orvane {
namespace {

class NoViewer final : public ViewerLauncher {
public:
    void launchViewer() override {}
};

TEST(SettingsProfile, OrvaneCliReplaysItToTheSameRegisterValues) {
    testing::TempDirectory directory;
    SimulatedCameraModule studioModule;
    CountingTraceSink trace;
    StudioSession session(studioModule, trace, directory.path());
    ASSERT_TRUE(session.start());
    const std::vector<std::string> changes{
        "click Data format/RGB",   "click 1022",          "move Contrast 99",
        "move \"Red Bias\" 17",    "click Mirror/Enable", "click Analog signal gain/2x",
        "click Auto mode/Disable", "type 1044 180",       "type 1045 130",
        "type Register(dec) 42",   "type Value(dec) 7",   "type \"Clock prescaler\" 3",
        "press &Set Register"};
    session.run(changes);
    const std::string profile = settingsProfile(session.controls(), "DATE", "VERSION");
    EXPECT_TRUE(profile.starts_with(
        "# Orvane Studio settings, saved DATE by orvane-studio "
        "VERSION\n# Replay with: orvane-cli FILE\npress &Set "
        "Register\nclick Data format/RGB\nclick Digital output mode/8 Bits\nclick "
        "Image format/CIF\n"))
        << profile;
    EXPECT_TRUE(profile.ends_with("type \"Clock prescaler\" 3\npress &Set Register\n")) << profile;

    SimulatedCameraModule cliModule;
    MonotonicTickCounter ticks;
    NoViewer viewer;
    HeadlessPanel panel(controlPanelTemplate);
    ControlPanelDialog dialog(panel, cliModule, trace, ticks, viewer, directory.path());
    dialog.initialize();
    std::istringstream input(profile);
    std::ostringstream messages;
    ScriptRunner runner(panel, dialog.state(), messages, "profile");
    EXPECT_EQ(runner.run(input), 0) << messages.str();
    EXPECT_EQ(cliModule.sensor().registers(), studioModule.sensor().registers());
    EXPECT_EQ(cliModule.sensor()[42], 7);
    EXPECT_EQ(settingsProfile(session.controls(), "D", "V"),
              settingsProfile(controlValuesOf(panel), "D", "V"));
}

TEST(Snapshot, NumbersFollowTheHighestInTheDirectoryAndKeepPixelsAndRawBytes) {
    testing::TempDirectory directory;
    for (const char* name : {"snapshot-0003.png", "snapshot-0007.raw", "snapshot-x.png", "other"})
        testing::writeFileBytes(directory.path() / name, std::vector<uint8_t>{1});
    const QDir dir(QString::fromStdString(directory.path().string()));
    QImage image(3, 2, QImage::Format_RGB888);
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, qRgb(40 * i, 255 - i, i == 5 ? 255 : 0));
    const QByteArray raw("\x00\x01\xfe\xff", 4);

    EXPECT_EQ(writeSnapshot(dir, image, raw).name, "snapshot-0008");
    EXPECT_EQ(writeSnapshot(dir, image, raw).name, "snapshot-0009");
    EXPECT_EQ(QImage(dir.filePath("snapshot-0009.png")).convertToFormat(QImage::Format_RGB888),
              image);
    const std::vector<uint8_t> rawBytes{0x00, 0x01, 0xfe, 0xff};
    EXPECT_EQ(testing::readFileBytes(directory.path() / "snapshot-0008.raw"), rawBytes);
    EXPECT_EQ(nextSnapshotNumber(dir), 10);
}

TEST(FrameHistogram, CountsEachChannelAndLumaWithClippedEnds) {
    const std::vector<uint8_t> pixels{0, 0, 0, 255, 255, 255, 255, 0, 0, 10, 20, 30, 10, 20, 30};
    const FrameHistogram histogram = histogramOf(pixels);
    const std::map<HistogramChannel, std::map<int, uint32_t>> expected{
        {HistogramChannel::red, {{0, 1}, {10, 2}, {255, 2}}},
        {HistogramChannel::green, {{0, 2}, {20, 2}, {255, 1}}},
        {HistogramChannel::blue, {{0, 2}, {30, 2}, {255, 1}}},
        {HistogramChannel::luma, {{0, 1}, {18, 2}, {76, 1}, {255, 1}}},
    };
    for (const auto& [channel, levels] : expected) {
        for (int level = 0; level < 256; ++level) {
            const auto found = levels.find(level);
            EXPECT_EQ(histogram.count(channel, uint8_t(level)),
                      found == levels.end() ? 0u : found->second)
                << "channel " << int(channel) << " level " << level;
        }
    }
    EXPECT_EQ(HistogramView::clippedText(histogram),
              "Clipped at 0 / 255:  R 1 / 2  G 2 / 1  B 2 / 1  Y 1 / 1");
}

TEST(PixelReadout, RawSamplesOfYuvPairsAndMosaicColours) {
    // Two lines of 5 bytes: line 0 = 1..5, line 1 = 11..15.
    const std::vector<uint8_t> raw{1, 2, 3, 4, 5, 11, 12, 13, 14, 15};
    const FrameGeometry yuv{4, 2, 2, 5};
    const FrameGeometry mosaic{4, 2, 2, 5};
    struct Case {
        const FrameGeometry& geometry;
        uint8_t dataFormat;
        uint32_t x, y;
        const char* text;
    };
    const Case cases[] = {
        {yuv, 0, 0, 0, "Y 2 U 3 V 1"},          {yuv, 0, 1, 1, "Y 14 U 13 V 11"},
        {yuv, 0, 2, 1, "Y 0 U 0 V 15"},         {mosaic, 0x08, 0, 0, "raw 1 (green)"},
        {mosaic, 0x08, 1, 0, "raw 2 (blue)"},   {mosaic, 0x08, 2, 1, "raw 13 (red)"},
        {mosaic, 0x08, 3, 1, "raw 14 (green)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rawSampleText(raw, c.geometry, c.dataFormat, c.x, c.y), c.text) << c.x << c.y;
}

TEST(ControlsDock, SlidersApplyAsTheyMoveAndFieldsOnlyWhenFinished) {
    ControlsDock dock;
    dock.show();
    dock.showValues({{1032, ControlKind::Slider, "", false, 0, 255, 128}});
    QSignalSpy commands(&dock, &ControlsDock::commands);
    dock.slider(1032)->setValue(100);
    QLineEdit* field = dock.edit(1042);
    field->setFocus();
    QTest::keyClicks(field, "100");
    ASSERT_EQ(commands.size(), 1);
    QTest::keyClick(field, Qt::Key_Return);
    dock.radioButton(1025)->click();
    const QList<QStringList> expected{{"move 1032 100", "press &Set Register"},
                                      {"type 1042 100", "press &Set Register"},
                                      {"click 1025", "press &Set Register"}};
    ASSERT_EQ(commands.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(commands.at(i).at(0).toStringList().join('|').toStdString(),
                  expected.at(i).join('|').toStdString());
    EXPECT_FALSE(dock.radioButton(1053)->isEnabled());
}

} // namespace
} // namespace orvane
