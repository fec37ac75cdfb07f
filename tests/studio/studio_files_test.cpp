// The studio's files and figures: settings profiles old and new, snapshots, the histogram, the raw
// samples under the pointer, and the controls generated from the control list.
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

#include <map>
#include <set>
#include <thread>

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>

#include <orvane/camera.h>

#include "image/temp_directory.h"
#include "orvane/profile.h"
#include "studio/controls_dock.h"
#include "studio/histogram_view.h"
#include "studio/pixel_readout.h"
#include "studio/snapshot_files.h"

namespace orvane {
namespace {

std::unique_ptr<Camera> openSim() {
    Status status;
    std::unique_ptr<Camera> camera = Camera::open("sim", status);
    EXPECT_TRUE(status.ok()) << status.message();
    return camera;
}

ControlValues valuesOf(const Camera& camera) {
    ControlValues values;
    for (const ControlInfo& info : camera.controls()) {
        int32_t value = 0;
        EXPECT_TRUE(camera.get(info.name, value).ok());
        values.push_back({info.name, value});
    }
    return values;
}

Status apply(Camera& camera, const ControlChanges& changes) {
    std::vector<ControlSetting> settings;
    for (const ControlChange& change : changes)
        settings.push_back({change.name, change.value});
    return camera.set(settings);
}

TEST(SettingsProfile, ASavedProfileAndAnEarlierStudiosCommandFileLoadToTheSameRegisters) {
    std::unique_ptr<Camera> saved = openSim();
    ASSERT_TRUE(apply(*saved, {{"format", 1},
                               {"contrast", 99},
                               {"red-bias", 17},
                               {"mirror", 1},
                               {"gain", 2},
                               {"auto-adjust", 0},
                               {"window-h-end", 180},
                               {"window-v-end", 130},
                               {"clock-prescaler", 3}})
                    .ok());
    const std::string profile = settingsProfile(valuesOf(*saved), "DATE", "VERSION");
    EXPECT_TRUE(profile.starts_with("# Orvane Studio settings, saved DATE by orvane-studio "
                                    "VERSION\n# One control a line, NAME = VALUE, with "
                                    "orvane-cli's control names.\nformat = rgb\nmirror = on\n"))
        << profile;
    EXPECT_EQ(profile.find("size ="), std::string::npos) << "RGB's own window is kept by its lines";
    EXPECT_TRUE(profile.ends_with("window-v-start = 25\nwindow-v-end = 130\n")) << profile;

    // As orvane-studio 0.1 wrote them: orvane-cli commands with the panel's names.
    const std::string commandFile =
        "# Orvane Studio settings\npress &Set Register\nclick Data format/RGB\n"
        "click Mirror/Enable\nclick Digital output mode/8 Bits\nclick Auto mode/Disable\n"
        "click Analog signal gain/2x\nmove Contrast 99\nmove \"Red Bias\" 17\n"
        "type \"Horizontal End\" 180\ntype \"Vertical End\" 130\ntype Register(dec) 0\n"
        "type \"Clock prescaler\" 3\npress &Set Register\n";
    for (const std::string& text : {profile, commandFile}) {
        ProfileReading reading;
        ASSERT_TRUE(readSettingsProfile(text, reading));
        EXPECT_TRUE(reading.problems.empty()) << reading.problems.front();
        std::unique_ptr<Camera> loaded = openSim();
        ASSERT_TRUE(apply(*loaded, std::as_const(reading).changes).ok());
        const std::vector<RegisterState> want = saved->registers();
        const std::vector<RegisterState> got = loaded->registers();
        for (std::size_t i = 0; i < want.size(); ++i)
            EXPECT_EQ(got[i].value, want[i].value) << int{want[i].address} << "\n" << text;
    }
    ProfileReading bad;
    ASSERT_TRUE(readSettingsProfile("brightness = 12\nzoom = 2\nformat = bgr\n", bad));
    EXPECT_EQ(bad.changes, (ControlChanges{{"brightness", 12}}));
    EXPECT_EQ(bad.problems, (std::vector<std::string>{"line 2: no control is named \"zoom\"",
                                                      "line 3: \"bgr\" is not a value of format"}));
    EXPECT_FALSE(readSettingsProfile(std::string(maxProfileBytes + 1, '#'), bad));
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
    // A mosaic frame brings its DNG; one whose raw bytes cannot hold it leaves no file at all.
    FrameInfo mosaic;
    mosaic.mosaic = true;
    mosaic.width = mosaic.height = mosaic.linesRead = mosaic.bytesPerLine = 2;
    EXPECT_EQ(writeSnapshot(dir, image, raw, &mosaic, "brightness = 1").name, "snapshot-0009");
    EXPECT_GT(QFileInfo(dir.filePath("snapshot-0009.dng")).size(), 4);
    mosaic.width = mosaic.bytesPerLine = 4;
    EXPECT_EQ(writeSnapshot(dir, image, raw, &mosaic).name, "");
    EXPECT_EQ(dir.entryList({"snapshot-0010.*"}), QStringList{});
    EXPECT_EQ(QImage(dir.filePath("snapshot-0009.png")).convertToFormat(QImage::Format_RGB888),
              image);
    const std::vector<uint8_t> rawBytes{0x00, 0x01, 0xfe, 0xff};
    EXPECT_EQ(testing::readFileBytes(directory.path() / "snapshot-0008.raw"), rawBytes);
    EXPECT_EQ(nextSnapshotNumber(dir), 10);
    // A number another studio has just taken is skipped; numbers never wrap.
    testing::writeFileBytes(directory.path() / "snapshot-0010.raw", std::vector<uint8_t>{1});
    EXPECT_EQ(claimSnapshotName(dir, 10), "snapshot-0011");
    testing::writeFileBytes(directory.path() / "snapshot-2147483647.png", std::vector<uint8_t>{1});
    EXPECT_EQ(writeSnapshot(dir, image, raw).name, "snapshot-2147483648");

    // Two studios at once in one folder: every snapshot gets a name of its own, with both files.
    testing::TempDirectory shared;
    const QDir sharedDir(QString::fromStdString(shared.path().string()));
    std::vector<QString> names[2];
    std::thread other([&] {
        for (int i = 0; i < 30; ++i)
            names[1].push_back(writeSnapshot(sharedDir, image, raw).name);
    });
    for (int i = 0; i < 30; ++i)
        names[0].push_back(writeSnapshot(sharedDir, image, raw).name);
    other.join();
    std::set<QString> distinct(names[0].begin(), names[0].end());
    distinct.insert(names[1].begin(), names[1].end());
    EXPECT_EQ(distinct.size(), 60u);
    EXPECT_EQ(sharedDir.entryList(QDir::Files).size(), 120);
}

TEST(FrameHistogram, CountsEachChannelAndLumaWithClippedEnds) {
    const std::vector<uint32_t> pixels{0xFF000000, 0xFFFFFFFF, 0xFFFF0000, 0xFF0A141E, 0xFF0A141E};
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
    struct Case {
        bool mosaic;
        uint32_t x, y;
        const char* text;
    };
    const Case cases[] = {
        {false, 0, 0, "Y 2 U 3 V 1"},   {false, 1, 1, "Y 14 U 13 V 11"},
        {false, 2, 1, "Y 0 U 0 V 15"},  {true, 0, 0, "raw 1 (green)"},
        {true, 1, 0, "raw 2 (blue)"},   {true, 2, 1, "raw 13 (red)"},
        {true, 3, 1, "raw 14 (green)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rawSampleText(raw, 5, c.mosaic, c.x, c.y), c.text) << c.x << c.y;
}

TEST(ControlsDock, EveryControlOfTheListAppliesItsOwnWayAndRegistersWriteByNumber) {
    ControlsDock dock;
    dock.show();
    dock.showValues({{"contrast", 128}, {"format", 0}});
    QSignalSpy changes(&dock, &ControlsDock::changes);
    QSignalSpy registerWrites(&dock, &ControlsDock::registerWriteRequested);
    qobject_cast<QSlider*>(dock.control("contrast"))->setValue(100);
    auto* field = qobject_cast<QSpinBox*>(dock.control("window-h-start"));
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "100");
    ASSERT_EQ(changes.size(), 1) << "a typed number applies only when finished";
    QTest::keyClick(field, Qt::Key_Return);
    auto* format = qobject_cast<QComboBox*>(dock.control("format"));
    format->activated(format->findText("rgb"));
    qobject_cast<QCheckBox*>(dock.control("mirror"))->click();
    const std::vector<ControlChanges> expected{
        {{"contrast", 100}}, {{"window-h-start", 100}}, {{"format", 1}}, {{"mirror", 1}}};
    ASSERT_EQ(changes.size(), qsizetype(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(changes.at(qsizetype(i)).at(0).value<ControlChanges>(), expected[i]);
    auto* busWidth = qobject_cast<QComboBox*>(dock.control("bus-width"));
    const auto* model = qobject_cast<const QStandardItemModel*>(busWidth->model());
    EXPECT_FALSE(model->item(busWidth->findText("16"))->isEnabled());
    qobject_cast<QSpinBox*>(dock.control("register"))->setValue(0x2A);
    qobject_cast<QSpinBox*>(dock.control("register-value"))->setValue(7);
    dock.findChild<QPushButton*>()->click();
    ASSERT_EQ(registerWrites.size(), 1);
    EXPECT_EQ(registerWrites.at(0).at(0).toInt(), 0x2A);
    EXPECT_EQ(registerWrites.at(0).at(1).toInt(), 7);
}

} // namespace
} // namespace orvane
