// The studio's worker on the simulated module: the settings it is asked for reach the bus as the
// Camera sends them, never inside a frame.
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include "camera/camera_parts.h"
#include "image/temp_directory.h"
#include "orvane/registers.h"
#include "port/parallel_port.h"
#include "sensor/register_masks.h"
#include "sim/simulated_camera_module.h"
#include "studio/register_inspector.h"
#include "studio/studio_worker.h"

#include <QFile>
#include <QSignalSpy>
#include <QSocketNotifier>

namespace orvane {
namespace {

// Forwards to the module and notes, for each frame (INIT write to the last STROBE), the decoded
// transaction count at both ends and the STROBE pulses it took.
class FrameWatchingPort final : public PortIo {
public:
    struct Frame {
        std::size_t transactionsAtInit;
        std::size_t transactionsAtLastStrobe;
        std::size_t strobes;
    };
    explicit FrameWatchingPort(SimulatedCameraModule& module) : module_(module) {}
    void writePort(uint16_t port, uint8_t value) override {
        const bool handshake = value == 0x20 || value == 0x21;
        if (inFrame_ && !handshake && port == ParallelPort::controlPort) {
            inFrame_ = false;
            frames.push_back(current_);
        }
        module_.writePort(port, value);
        if (port != ParallelPort::controlPort)
            return;
        if (value == 0x25) {
            inFrame_ = true;
            current_ = {module_.bus().transactions().size(), 0, 0};
        } else if (inFrame_ && value == 0x21 && last_ == 0x20) {
            ++current_.strobes; // a whole pulse: STROBE up, then down again
            current_.transactionsAtLastStrobe = module_.bus().transactions().size();
        }
        last_ = value;
    }
    uint8_t readPort(uint16_t port) override { return module_.readPort(port); }
    std::vector<Frame> frames;

private:
    SimulatedCameraModule& module_;
    bool inFrame_ = false;
    uint8_t last_ = 0;
    Frame current_{};
};

// Settings as the window sends them, and what the worker is asked besides.
struct Step {
    ControlChanges changes;
    bool reset = false;
    int registerAddress = -1; // with registerValue, a register write
    int registerValue = 0;
};

const std::vector<Step> steps{
    {{{"contrast", 100}}},
    {{{"mirror", 1}}},
    {{{"window-h-start", 300}}}, // refused: nothing is sent
    {{{"size", 1}}},
    {{{"format", 1}}},
    {{{"brightness", 30}, {"saturation", 200}}},
    {{}, true},
    {{}, false, 42, 7},
    {{{"auto-adjust", 0}}},
};

void run(StudioWorker& worker, const Step& step) {
    if (step.reset)
        worker.reset(false);
    else if (step.registerAddress >= 0)
        worker.writeRegister(step.registerAddress, step.registerValue);
    else
        worker.applySettings(step.changes);
}

// The same requests straight to a Camera of its own: what the bus must carry besides frames.
std::vector<DecodedTransaction> expectedTraffic() {
    SimulatedCameraModule module;
    Status status;
    std::unique_ptr<Camera> camera = CameraFactory::openOn(module, status, {});
    for (const Step& step : steps) {
        std::vector<ControlSetting> settings;
        for (const ControlChange& change : step.changes)
            settings.push_back({change.name, change.value});
        if (step.reset)
            status = camera->reset();
        else if (step.registerAddress >= 0)
            status = camera->writeRegister(step.registerAddress, step.registerValue);
        else
            status = camera->set(settings);
    }
    return module.bus().transactions();
}

TEST(StudioWorker, SettingsGoOnTheBusBetweenFramesAsTheCameraSendsThem) {
    SimulatedCameraModule module;
    FrameWatchingPort port(module);
    Status status;
    QThread thread;
    const auto owner = std::make_unique<StudioWorker>(CameraFactory::openOn(port, status, {}));
    StudioWorker* worker = owner.get();
    worker->moveToThread(&thread);
    QObject receiver;
    std::vector<StudioFrame> frames;
    QObject::connect(worker->mailbox().watch(&receiver), &QSocketNotifier::activated, [&] {
        if (std::optional<StudioFrame> frame = worker->mailbox().take(); frame && frame->complete())
            frames.push_back(*frame);
    });
    QStringList notes;
    QObject::connect(worker, &StudioWorker::statusMessage, &receiver,
                     [&](const QString& note) { notes << note; });
    // Queued to this thread: a spy would be called in the worker's thread, racing the reads.
    std::vector<ControlValues> controls;
    QObject::connect(worker, &StudioWorker::controlsChanged, &receiver,
                     [&](const ControlValues& values) { controls.push_back(values); });
    thread.start();
    QMetaObject::invokeMethod(worker, &StudioWorker::start, Qt::QueuedConnection);
    for (const Step& step : steps) {
        const std::size_t seen = frames.size();
        QTRY_VERIFY_WITH_TIMEOUT(frames.size() > seen, 10000);
        QMetaObject::invokeMethod(worker, [worker, step] { run(*worker, step); });
    }
    QTRY_COMPARE_WITH_TIMEOUT(controls.size(), steps.size(), 10000);
    const std::size_t seen = frames.size();
    QTRY_VERIFY_WITH_TIMEOUT(frames.size() > seen, 10000);
    QMetaObject::invokeMethod(worker, &StudioWorker::stop, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();

    // Each frame is bracketed by register 0x13 with and without the upload bit; without those
    // pairs the bus carries exactly what the requests send.
    std::vector<DecodedTransaction> traffic = module.bus().transactions();
    ASSERT_GE(port.frames.size(), frames.size());
    std::vector<bool> bracket(traffic.size(), false);
    for (std::size_t i = 0; i < port.frames.size(); ++i) {
        const FrameWatchingPort::Frame& frame = port.frames[i];
        EXPECT_EQ(frame.transactionsAtInit, frame.transactionsAtLastStrobe) << "frame " << i;
        const std::size_t before = frame.transactionsAtInit - 1;
        ASSERT_LT(before + 1, traffic.size());
        EXPECT_EQ(traffic[before].subAddress, 0x13);
        EXPECT_EQ(traffic[before].value, addMask(traffic[before + 1].value, uploadBit)) << i;
        bracket[before] = bracket[before + 1] = true;
    }
    for (const StudioFrame& frame : frames)
        EXPECT_EQ(port.frames.at(frame.number - 1).strobes, std::size_t(frame.raw.size()));
    std::vector<DecodedTransaction> settings;
    for (std::size_t i = 0; i < traffic.size(); ++i) {
        if (!bracket[i])
            settings.push_back(traffic[i]);
    }
    EXPECT_EQ(settings, expectedTraffic());
    EXPECT_TRUE(module.bus().violations().empty());
    // After the reset only auto adjust was turned off, and register 42 written by number.
    EXPECT_EQ(module.sensor()[0x12], 0x24);
    EXPECT_EQ(module.sensor()[0x13], 0x20);
    EXPECT_EQ(module.sensor()[42], 7);
    EXPECT_TRUE(notes.contains("300 is outside the range: window-h-start takes 56 to 214"))
        << notes.join('|').toStdString();
    EXPECT_EQ(valueOf(controls.at(1), "mirror"), 1);
    EXPECT_EQ(frames.back().image.width(), 312) << "the default frame after the reset";
}

// A run of changes to the same control that came during a frame sends only the last of it;
// other changes keep their place in the order.
TEST(StudioWorker, ARunOfChangesToOneControlSendsOnlyWhereItEnded) {
    SimulatedCameraModule module;
    Status status;
    StudioWorker worker(CameraFactory::openOn(module, status, {}));
    int told = 0;
    QObject::connect(&worker, &StudioWorker::controlsChanged, [&] { ++told; });
    worker.start();
    const std::size_t before = module.bus().transactions().size();
    for (int value = 0; value < 50; ++value)
        worker.applySettings({{"brightness", value}});
    worker.applySettings({{"contrast", 9}});
    worker.applySettings({{"brightness", 77}});
    QTRY_COMPARE_WITH_TIMEOUT(told, 3, 10000);
    worker.stop();
    std::vector<std::pair<int, int>> sent;
    const std::vector<DecodedTransaction>& traffic = module.bus().transactions();
    for (std::size_t i = before; i < traffic.size(); ++i) {
        if (traffic[i].subAddress != 0x13)
            sent.emplace_back(traffic[i].subAddress, traffic[i].value);
    }
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{0x06, 49}, {0x05, 9}, {0x06, 77}}));
}

// The picture right after each Reset, or after opening another module: with the settings kept it
// is a fresh start's with them, without, a fresh start's with the defaults.
TEST(StudioWorker, ResetOrAnotherModuleKeepsThePictureOfTheSettingsOrOfTheDefaults) {
    const ControlChanges settings{
        {"format", 1}, {"size", 1}, {"mirror", 1}, {"brightness", 150}, {"contrast", 40}};
    for (const char* step : {"reset keeping", "reset", "reopen"}) {
        const bool keep = step != std::string_view("reset");
        SimulatedCameraModule module{referenceModel};
        Status status;
        StudioWorker worker(CameraFactory::openOn(module, status, {}));
        worker.setOpener(
            [](const std::string& device, Status& opened) { return Camera::open(device, opened); });
        std::vector<StudioFrame> frames;
        QObject receiver;
        QObject::connect(worker.mailbox().watch(&receiver), &QSocketNotifier::activated, [&] {
            if (std::optional<StudioFrame> frame = worker.mailbox().take(); frame)
                frames.push_back(*frame);
        });
        worker.start();
        worker.applySettings(settings);
        QTRY_VERIFY_WITH_TIMEOUT(frames.size() > 1, 10000);
        if (step == std::string_view("reopen"))
            worker.reopen("sim:reference");
        else
            worker.reset(keep);
        worker.mailbox().take(); // a frame from before the reset
        const std::size_t seen = frames.size();
        QTRY_VERIFY_WITH_TIMEOUT(frames.size() > seen, 10000);
        worker.stop();

        SimulatedCameraModule freshModule{referenceModel};
        std::unique_ptr<Camera> fresh = CameraFactory::openOn(freshModule, status, {});
        std::vector<ControlSetting> kept;
        for (const ControlChange& change : settings)
            kept.push_back({change.name, change.value});
        ASSERT_TRUE(fresh->set(keep ? std::span(kept) : std::span<ControlSetting>()));
        const QImage& after = frames[seen].image;
        QImage expected(after.size(), QImage::Format_RGB32);
        ASSERT_TRUE(fresh->capture(PixelFormat::Xrgb32,
                                   {expected.bits(), std::size_t(expected.sizeInBytes())},
                                   std::size_t(expected.bytesPerLine())));
        EXPECT_EQ(after.width(), keep ? 176 : 312);
        EXPECT_EQ(after, expected) << step;
    }
}

// A value typed into the inspector and the lines of a loaded dump reach the sensor; what the
// sensor then holds is shown beside what the camera sent, and a dump reads as it was written.
TEST(RegisterInspector, EditsAndLoadedDumpsReachTheSensorAndDumpsReadBack) {
    SimulatedCameraModule module;
    Status status;
    StudioWorker worker(CameraFactory::openOn(module, status, {}));
    RegisterInspector inspector;
    QSignalSpy notes(&inspector, &RegisterInspector::note);
    QObject::connect(&worker, &StudioWorker::registersChanged, &inspector,
                     &RegisterInspector::showRegisters);
    QObject::connect(&inspector, &RegisterInspector::registerWriteRequested, &worker,
                     &StudioWorker::writeRegister);
    worker.start();
    QTableWidget& table = *inspector.table();
    ASSERT_EQ(table.rowCount(), 49);
    const int brightness = int(table.findItems("brightness", Qt::MatchExactly).front()->row());
    for (const char* typed : {"0x90", "300", "bright"})
        table.item(brightness, 2)->setText(typed);
    EXPECT_EQ(module.sensor()[0x06], 0x90);
    EXPECT_EQ(table.item(brightness, 2)->text(), "0x90");
    EXPECT_EQ(table.item(brightness, 4)->text(), "0x90") << "what the module holds";
    EXPECT_EQ(notes.size(), 2);

    testing::TempDirectory directory;
    const QString dump = QString::fromStdString((directory.path() / "dump.txt").string());
    ASSERT_TRUE(inspector.dumpTo(dump));
    QFile written(dump);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const std::string text = written.readAll().toStdString();
    EXPECT_NE(text.find("\n0x06 = 0x90  # brightness\n"), std::string::npos);
    std::vector<RegisterAssignment> expected;
    for (const RegisterState& state : inspector.snapshot().registers)
        expected.push_back({state.address, state.value});
    EXPECT_EQ(readRegisterDump(text).writes, expected);
    EXPECT_TRUE(readRegisterDump(text).problems.empty());

    const QString load = QString::fromStdString((directory.path() / "load.txt").string());
    QFile file(load);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# bring-up\n0x0C = 5\n0x0D=0x1G\n  13 = 0x07 # red-bias\n0x100 = 1\n");
    file.close();
    ASSERT_TRUE(inspector.loadFrom(load));
    EXPECT_EQ(module.sensor()[0x0C], 5);
    EXPECT_EQ(module.sensor()[0x0D], 7);
    EXPECT_TRUE(notes.last().at(0).toString().startsWith("2 registers written from " + load +
                                                         "; left out: line 3: \"0x0D=0x1G\""));
    worker.stop();
}

// At a parallel port's pace a frame's first rows reach the mailbox while it is read, growing,
// each the top of the frame that then comes whole.
TEST(StudioWorker, ASlowFramesRowsArriveAsTheyAreRead) {
    CameraOptions options;
    options.simulatedPace = "hardware";
    Status status;
    QThread thread;
    StudioWorker worker(Camera::open("sim", status, options));
    worker.moveToThread(&thread);
    std::vector<StudioFrame> arriving;
    std::optional<StudioFrame> whole;
    QObject receiver;
    QObject::connect(worker.mailbox().watch(&receiver), &QSocketNotifier::activated, [&] {
        std::optional<StudioFrame> frame = worker.mailbox().take();
        if (!frame || whole)
            return;
        if (frame->complete())
            whole = frame;
        else
            arriving.push_back(*frame);
    });
    thread.start();
    QMetaObject::invokeMethod(&worker, &StudioWorker::start, Qt::QueuedConnection);
    QTRY_VERIFY_WITH_TIMEOUT(whole.has_value(), 20000);
    QMetaObject::invokeMethod(&worker, &StudioWorker::stop, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    ASSERT_GE(arriving.size(), 3u) << "a frame takes about 0.4 s, rows come every 40 ms";
    int rows = 0;
    for (const StudioFrame& frame : arriving) {
        EXPECT_EQ(frame.number, whole->number);
        EXPECT_EQ(frame.arrivingOf, whole->image.height());
        EXPECT_GT(frame.image.height(), rows);
        rows = frame.image.height();
        EXPECT_EQ(frame.image, whole->image.copy(0, 0, whole->image.width(), rows));
    }
}

// A module that does not answer: the frames still come, a little apart, and the banner says once
// what was seen; the signal coming back is told too.
TEST(StudioWorker, NoSignalIsToldOnceAndTheFramesKeepComing) {
    Status status;
    StudioWorker worker(Camera::open("sim:fault=absent", status));
    worker.setOpener(
        [](const std::string& device, Status& opened) { return Camera::open(device, opened); });
    QStringList notes;
    QObject::connect(&worker, &StudioWorker::statusMessage,
                     [&](const QString& note) { notes << note; });
    int frames = 0;
    QObject receiver;
    QObject::connect(worker.mailbox().watch(&receiver), &QSocketNotifier::activated, [&] {
        if (std::optional<StudioFrame> frame = worker.mailbox().take(); frame && frame->complete())
            ++frames;
    });
    worker.start();
    QTRY_VERIFY_WITH_TIMEOUT(frames >= 3, 10000);
    EXPECT_EQ(notes, QStringList{"No signal: every byte of the frame read 0xFF: nothing drives the "
                                 "data lines; check the cable, the module's power and that the "
                                 "device names the port the module is on"});
    worker.reopen("sim:reference");
    QTRY_VERIFY_WITH_TIMEOUT(notes.contains("The signal is back"), 10000);
    worker.stop();
}

} // namespace
} // namespace orvane
