// The studio's worker on the simulated module: the same bus traffic as orvane-cli for the same
// control changes, and no transaction inside a frame.
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <sstream>

#include "app/cli/script_runner.h"
#include "app/control_panel_dialog.h"
#include "app/headless/headless_panel.h"
#include "image/temp_directory.h"
#include "image/viewer_launch.h"
#include "port/parallel_port.h"
#include "port/tick_counter.h"
#include "resources/panel_templates.h"
#include "sensor/register_masks.h"
#include "sim/simulated_camera_module.h"
#include "studio/studio_worker.h"

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

class NoViewer final : public ViewerLauncher {
public:
    void launchViewer() override {}
};

// Control changes as the window sends them; each is followed by Set Register.
const std::vector<QStringList> changes{
    {"move Contrast 100"},
    {"click Mirror/Enable"},
    {"type \"Horizontal Start\" 300"},
    {"click QCIF"},
    {"click Data format/RGB"},
    {"move Brightness 30", "move Saturation 200"},
    {"press Re&set"},
    {"type Register(dec) 42", "type Value(dec) 7"},
    {"click Auto mode/Disable"},
};
const QString setRegister = "press &Set Register";

std::vector<DecodedTransaction> cliTraffic() {
    testing::TempDirectory directory;
    SimulatedCameraModule module;
    CountingTraceSink trace;
    MonotonicTickCounter ticks;
    NoViewer viewer;
    HeadlessPanel panel(controlPanelTemplate);
    ControlPanelDialog dialog(panel, module, trace, ticks, viewer, directory.path());
    dialog.initialize();
    std::string script = setRegister.toStdString() + "\n";
    for (const QStringList& change : changes)
        script += (change.join('\n') + '\n' + setRegister + '\n').toStdString();
    std::istringstream input(script);
    std::ostringstream messages;
    ScriptRunner runner(panel, dialog.state(), messages, "changes");
    EXPECT_EQ(runner.run(input), 0) << messages.str();
    return module.bus().transactions();
}

TEST(StudioWorker, ControlChangesPutTheCliBytesOnTheBusAndNothingInsideAFrame) {
    testing::TempDirectory directory;
    SimulatedCameraModule module;
    FrameWatchingPort port(module);
    CountingTraceSink trace;
    QThread thread;
    const auto owner = std::make_unique<StudioWorker>(port, trace, directory.path());
    StudioWorker* worker = owner.get();
    worker->moveToThread(&thread);
    QObject receiver;
    std::vector<StudioFrame> frames;
    QObject::connect(worker, &StudioWorker::frameReady, &receiver, [&](const StudioFrame& f) {
        frames.push_back(f);
        QMetaObject::invokeMethod(worker, &StudioWorker::frameShown, Qt::QueuedConnection);
    });
    QStringList notes;
    QObject::connect(worker, &StudioWorker::statusMessage, &receiver,
                     [&](const QString& note) { notes << note; });
    QSignalSpy controls(worker, &StudioWorker::controlsChanged);
    thread.start();
    QMetaObject::invokeMethod(worker, &StudioWorker::start, Qt::QueuedConnection);
    for (const QStringList& change : changes) {
        const std::size_t seen = frames.size();
        QTRY_VERIFY_WITH_TIMEOUT(frames.size() > seen, 10000);
        const QStringList lines = change + QStringList{setRegister};
        QMetaObject::invokeMethod(worker, [worker, lines] { worker->applyCommands(lines); });
    }
    QTRY_COMPARE_WITH_TIMEOUT(controls.size(), qsizetype(changes.size()), 10000);
    const std::size_t seen = frames.size();
    QTRY_VERIFY_WITH_TIMEOUT(frames.size() > seen, 10000);
    QMetaObject::invokeMethod(worker, &StudioWorker::stop, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();

    // Each frame is bracketed by register 0x13 with and without the upload bit; without those
    // pairs the bus carries exactly what orvane-cli sent.
    std::vector<DecodedTransaction> traffic = module.bus().transactions();
    ASSERT_GE(port.frames.size(), frames.size());
    std::vector<bool> bracket(traffic.size(), false);
    for (std::size_t i = 0; i < port.frames.size(); ++i) {
        const FrameWatchingPort::Frame& frame = port.frames[i];
        EXPECT_EQ(frame.transactionsAtInit, frame.transactionsAtLastStrobe) << "frame " << i;
        if (i < frames.size()) {
            EXPECT_EQ(frame.strobes, std::size_t(frames[i].raw.size())) << "frame " << i;
        }
        const std::size_t before = frame.transactionsAtInit - 1;
        ASSERT_LT(before + 1, traffic.size());
        EXPECT_EQ(traffic[before].subAddress, 0x13);
        EXPECT_EQ(traffic[before].value, addMask(traffic[before + 1].value, uploadBit)) << i;
        bracket[before] = bracket[before + 1] = true;
    }
    std::vector<DecodedTransaction> settings;
    for (std::size_t i = 0; i < traffic.size(); ++i) {
        if (!bracket[i])
            settings.push_back(traffic[i]);
    }
    EXPECT_EQ(settings, cliTraffic());
    EXPECT_TRUE(module.bus().violations().empty());
    // The window correction arrives as a note and as the corrected fields, and the Set Register
    // box never shows.
    EXPECT_TRUE(notes.contains("Improper range: Horizonal Window Start should be smaller than "
                               "Horizontal Window End  Horizontal Window Setting will RESET"))
        << notes.join('|').toStdString();
    EXPECT_FALSE(notes.join('|').contains("All registers were set!"));
    EXPECT_EQ(findValue(controls.at(2).at(0).value<ControlValues>(), 1042)->text, "56");
}

} // namespace
} // namespace orvane
