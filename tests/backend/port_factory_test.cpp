// Port backend selection from ORVANE_PORT: the accepted values, the device each one opens and
// the messages when it cannot.
#include "backend/port_factory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "port/hardware_fakes.h"
#include "sim/simulated_camera_module.h"

namespace orvane {
namespace {

using testing::RequestLog;

// Fakes behind every hardware backend, all logging to log; a sudo start from uid 1000.
PortBackends fakeBackends(RequestLog& log, testing::ParportBehaviour parport = {},
                          testing::PrivilegeBehaviour privileges = testing::sudoFromUser1000()) {
    return PortBackends{
        [&log, parport] { return std::make_unique<testing::FakeParportDevice>(log, parport); },
        [&log] { return std::make_unique<testing::FakePortInstructions>(log); },
        [&log, privileges] {
            return std::make_unique<testing::FakePrivilegeCalls>(log, privileges);
        },
        [&log] { return std::make_unique<testing::SteppingHoldClock>(log); },
        [&log](const std::filesystem::path& path, std::optional<Scene>& scene) {
            log.push_back("scene " + path.string());
            return loadPpmScene(path, scene);
        },
    };
}

TEST(OpenPort, UnsetEmptyAndSimGiveTheSimulatedModule) {
    for (const std::optional<std::string_view> setting :
         {std::optional<std::string_view>{}, std::optional<std::string_view>{""},
          std::optional<std::string_view>{"sim"}}) {
        const OpenedPort opened = openPort(setting);
        ASSERT_NE(opened.port, nullptr);
        EXPECT_NE(dynamic_cast<SimulatedCameraModule*>(opened.port.get()), nullptr);
        EXPECT_NE(opened.description.find("simulated camera module"), std::string::npos);
        EXPECT_TRUE(opened.status.ok());
    }
}

// Each access of the paced module waits its time out on the hold clock (here 100 ns a reading:
// 1 + time / 100 ns readings an access); a pace that is none of the accepted ones opens nothing.
TEST(OpenPort, SimulatedPaceMakesEveryAccessWaitOrIsRefused) {
    const struct {
        std::optional<std::string_view> pace;
        int clockReadings; // -1: refused
        std::string_view described;
    } cases[] = {
        {std::nullopt, 0, ""},
        {"", 0, ""},
        {"off", 0, ""},
        {"0", 0, ""},
        {"hardware", 11, "hardware pace, 1 us a port access"},
        {"0.5", 6, "pace 0.5 us a port access"},
        {"2us", 21, "pace 2 us a port access"},
        {"fast", -1, ""},
        {"-1", -1, ""},
        {"101", -1, ""},
        {"1e400", -1, ""},
        {"nan", -1, ""},
        {"2 us", -1, ""},
        {"us", -1, ""},
    };
    for (const auto& c : cases) {
        RequestLog log;
        PortBackends backends = fakeBackends(log);
        backends.holdClock = [&log] {
            return std::make_unique<testing::SteppingHoldClock>(log, std::chrono::nanoseconds(100));
        };
        const OpenedPort opened = openPort("sim", std::nullopt, backends, c.pace);
        const std::string pace(c.pace.value_or("unset"));
        if (c.clockReadings < 0) {
            EXPECT_EQ(opened.port, nullptr) << pace;
            EXPECT_EQ(opened.status.message().find("orvane: ORVANE_SIM_PACE=" + pace +
                                                   " is not a pace; accepted values: hardware"),
                      0u)
                << opened.status.message();
            continue;
        }
        ASSERT_NE(opened.port, nullptr) << pace;
        EXPECT_EQ(opened.description.find(c.described.empty() ? "pace" : c.described) ==
                      std::string::npos,
                  c.described.empty())
            << opened.description;
        log.clear();
        opened.port->readPort(0x379);
        EXPECT_EQ(std::count(log.begin(), log.end(), "clock"), c.clockReadings) << pace;
    }
}

TEST(OpenPort, UnknownValueIsRefusedNamingEveryAcceptedValue) {
    for (const std::string_view setting :
         {"Sim", "lpt1", "direct:0x378", "ppdev:", "PPDEV", "parport0", "ppdev0"}) {
        RequestLog log;
        const OpenedPort opened = openPort(setting, std::nullopt, fakeBackends(log));
        EXPECT_EQ(opened.port, nullptr);
        EXPECT_TRUE(log.empty()) << "nothing is opened for " << setting;
        EXPECT_NE(opened.status.message().find("orvane: ORVANE_PORT=" + std::string(setting) +
                                               " is not a known port backend; accepted values: "),
                  std::string::npos);
        for (const char* value : {"sim (", "ppdev (", "ppdev:/dev/parportN (", "direct ("})
            EXPECT_NE(opened.status.message().find(value), std::string::npos) << value;
    }
}

TEST(OpenPort, PpdevAloneOpensTheFirstParallelPortDevice) {
    RequestLog log;
    const OpenedPort opened = openPort("ppdev", std::nullopt, fakeBackends(log));
    ASSERT_NE(opened.port, nullptr) << opened.status.message();
    EXPECT_NE(dynamic_cast<PpdevPort*>(opened.port.get()), nullptr);
    EXPECT_EQ(RequestLog(log.begin(), log.begin() + 4),
              (RequestLog{"open /dev/parport0", "claim", "modes", "getresuid"})); // then the drop
    EXPECT_EQ(opened.description, "orvane: port backend: ppdev on /dev/parport0, running as uid "
                                  "1000 gid 1000");
}

TEST(OpenPort, PpdevWithAPathOpensThatDevice) {
    RequestLog log;
    const OpenedPort opened = openPort("ppdev:/dev/parport2", std::nullopt, fakeBackends(log));
    ASSERT_NE(opened.port, nullptr) << opened.status.message();
    EXPECT_EQ(log.at(2), "modes");
    EXPECT_EQ(opened.description, "orvane: port backend: ppdev on /dev/parport2, running as uid "
                                  "1000 gid 1000");
}

TEST(OpenPort, PpdevFailureNamesTheSettingAndTheDevice) {
    RequestLog log;
    testing::ParportBehaviour behaviour;
    behaviour.openError = EACCES;
    const OpenedPort opened =
        openPort("ppdev:/dev/parport1", std::nullopt, fakeBackends(log, behaviour));
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_EQ(opened.status.message(),
              "orvane: ORVANE_PORT=ppdev:/dev/parport1: cannot open /dev/parport1: "
              "Permission denied; add yourself to group lp (sudo usermod -aG lp "
              "$USER) and log in again");
}

TEST(OpenPort, DirectGrantsDropsAndSaysWhoItRunsAs) {
    RequestLog log;
    const OpenedPort opened = openPort("direct", std::nullopt, fakeBackends(log));
    ASSERT_NE(opened.port, nullptr) << opened.status.message();
    EXPECT_NE(dynamic_cast<DirectIoPort*>(opened.port.get()), nullptr);
    EXPECT_EQ(opened.description, "orvane: port backend: direct port I/O on 0x378-0x37A and "
                                  "0x77A, running as uid 1000 gid 1000");
    EXPECT_NE(std::find(log.begin(), log.end(), "setresuid 1000"), log.end());
}

// Under sudo the simulated module gives up root too; a root login keeps it; a drop that cannot
// be made closes the port. A library caller's process keeps root for the simulated module,
// whatever SUDO_UID says.
TEST(OpenPort, AsRootDropsToTheSudoUserRightAfterOpening) {
    const std::string sim = "orvane: port backend: simulated camera module (ORVANE_PORT=sim), "
                            "built-in scene";
    const std::tuple<std::string_view, std::string, std::string, std::string, bool> cases[] = {
        {"sim", "1000", sim + ", running as uid 1000 gid 1000", "setgid 0", false},
        {"sim", "", sim, "getuid", false},
        {"ppdev", "x1",
         "orvane: ORVANE_PORT=ppdev: SUDO_UID=x1 and SUDO_GID=1000 do not name the user to drop "
         "root to; start the panel with plain sudo from your own account",
         "close", false},
        {"sim", "x1", "port backend: simulated camera module, built-in scene", "", true},
    };
    for (const auto& [setting, sudoUid, outcome, lastCall, library] : cases) {
        RequestLog log;
        testing::PrivilegeBehaviour privileges; // all ids 0
        if (!sudoUid.empty())
            privileges.environment = {{"SUDO_UID", sudoUid}, {"SUDO_GID", "1000"}};
        PortRequest request{setting, std::nullopt, std::nullopt};
        if (library) {
            request.naming = SettingNaming::Options;
            request.simulatedDropsRoot = false;
        }
        const OpenedPort opened = openPort(request, fakeBackends(log, {}, privileges));
        EXPECT_EQ(opened.port ? opened.description : opened.status.message(), outcome);
        EXPECT_EQ(log.empty() ? "" : log.back(), lastCall) << setting << " " << sudoUid;
    }
}

// A sudo start reads the scene as the user: after root is given up for good, and not at all when
// it cannot be.
TEST(OpenPort, UnderSudoTheSceneIsReadOnlyOnceRootIsGivenUp) {
    for (const int setUidError : {0, EPERM}) {
        RequestLog log;
        testing::PrivilegeBehaviour privileges = testing::sudoFromUser1000();
        privileges.setUidError = setUidError;
        const OpenedPort opened =
            openPort("sim", "/no/such/scene.ppm", fakeBackends(log, {}, privileges));
        EXPECT_EQ(opened.port, nullptr);
        const auto read = std::find(log.begin(), log.end(), "scene /no/such/scene.ppm");
        if (setUidError != 0) {
            EXPECT_EQ(read, log.end());
            EXPECT_EQ(opened.status.code(), StatusCode::NotPermitted);
            continue;
        }
        EXPECT_EQ(opened.status.code(), StatusCode::FileError);
        EXPECT_GT(read - std::find(log.begin(), log.end(), "setresuid 1000"), 0);
        EXPECT_EQ(std::find(read, log.end(), "setgid 0"), log.end()) << "the check came first";
    }
}

TEST(OpenPort, DirectWithoutPortInstructionsIsRefused) {
    RequestLog log;
    PortBackends backends = fakeBackends(log);
    backends.portInstructions = [] { return std::unique_ptr<PortInstructions>(); };
    const OpenedPort opened = openPort("direct", std::nullopt, backends);
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_EQ(opened.status.message().rfind(
                  "orvane: ORVANE_PORT=direct: direct port I/O is not available "
                  "on this processor",
                  0),
              0u);
}

// The real backends, where a test can use them without touching a port.
TEST(OpenPort, MissingPpdevDeviceIsAClearError) {
    const OpenedPort opened = openPort("ppdev:/dev/does-not-exist");
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_EQ(opened.status.message(),
              "orvane: ORVANE_PORT=ppdev:/dev/does-not-exist: cannot open /dev/does-not-exist: No "
              "such file or directory; load the port drivers (sudo modprobe parport_pc ppdev) and "
              "check the device name (ls /dev/parport*)");
}

TEST(OpenPort, DirectWithoutRootIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "as root this would take the real ports";
    const OpenedPort opened = openPort("direct");
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_NE(opened.status.message().find("orvane: ORVANE_PORT=direct: "), std::string::npos);
    EXPECT_NE(opened.status.message().find("ORVANE_PORT=ppdev"), std::string::npos)
        << opened.status.message();
}

TEST(OpenPort, SceneFileFeedsTheSimulatedModuleAndABadOneIsRefused) {
    const std::filesystem::path directory = std::filesystem::temp_directory_path();
    const std::filesystem::path good = directory / "orvane-factory-scene.ppm";
    const std::filesystem::path bad = directory / "orvane-factory-bad.ppm";
    {
        std::ofstream out(good, std::ios::binary);
        out << "P6\n2 1\n255\n";
        out.write("\x10\x20\x30\x40\x50\x60", 6);
        std::ofstream(bad, std::ios::binary) << "P3\n1 1\n255\n0 0 0\n";
    }
    const OpenedPort opened = openPort("sim", good.string());
    ASSERT_NE(opened.port, nullptr);
    const auto* module = dynamic_cast<SimulatedCameraModule*>(opened.port.get());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->scene().width(), 2u);
    EXPECT_EQ(module->scene().pixel(1, 0).red, 0x40);
    EXPECT_NE(opened.description.find(good.string()), std::string::npos);

    for (const std::filesystem::path& path : {bad, directory / "orvane-no-such-scene.ppm"}) {
        const OpenedPort refused = openPort(std::nullopt, path.string());
        EXPECT_EQ(refused.port, nullptr);
        EXPECT_NE(refused.status.message().find("ORVANE_SCENE=" + path.string()),
                  std::string::npos);
    }
    // The device string's parameters: its scene comes before ORVANE_SCENE's.
    const struct {
        std::string setting;
        uint32_t sceneWidth; // 0: refused
        std::string text;    // in the description or the refusal
        SensorModelSettings model = {};
    } parameters[] = {
        {"sim:", 2, "(ORVANE_PORT=sim:), scene"},
        {"sim:reference", 2, "", referenceModel},
        {"sim:scene=card,reference", 640, "built-in scene card", referenceModel},
        {"sim:scene=" + good.string(), 2, good.string()},
        {"sim:scene=flat,lux=40.5,seed=7,noise=off", 640, "built-in scene flat",
         [] {
             SensorModelSettings model;
             model.noise = false;
             model.lux = 40.5;
             model.seed = 7;
             return model;
         }()},
        {"sim:bogus", 0, "sim:bogus: \"bogus\" is not a parameter; the simulated module takes"},
        {"sim:scene=", 0, "\"scene=\" needs a value"},
        {"sim:reference=1", 0, "\"reference=1\" takes no value"},
        {"sim:scene=nowhere", 0, "cannot open nowhere"},
        {"sim:lux=100001", 0, "\"lux=100001\" has a value it does not take; "},
        {"sim:lux=nan", 0, "\"lux=nan\" has a value"},
        {"sim:seed=-1", 0, "\"seed=-1\" has a value"},
        {"sim:noise=maybe", 0, "\"noise=maybe\" has a value it does not take; the simulated "},
    };
    for (const auto& c : parameters) {
        const OpenedPort opened =
            openPort(c.setting, c.sceneWidth == 640 ? bad.string() : good.string());
        EXPECT_EQ(opened.port != nullptr, c.sceneWidth != 0) << c.setting;
        if (opened.module != nullptr) {
            EXPECT_EQ(opened.module->scene().width(), c.sceneWidth) << c.setting;
            EXPECT_EQ(opened.module->model(), c.model) << c.setting;
        }
        EXPECT_NE((opened.description + opened.status.message()).find(c.text), std::string::npos)
            << opened.description << opened.status.message();
    }
    std::filesystem::remove(good);
    std::filesystem::remove(bad);
}

} // namespace
} // namespace orvane
