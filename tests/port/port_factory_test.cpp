// Port backend selection from ORVANE_PORT.
#include "port/port_factory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/simulated_camera_module.h"

namespace orvane {
namespace {

TEST(OpenPort, UnsetEmptyAndSimGiveTheSimulatedModule) {
    for (const std::optional<std::string_view> setting :
         {std::optional<std::string_view>{}, std::optional<std::string_view>{""},
          std::optional<std::string_view>{"sim"}}) {
        const OpenedPort opened = openPort(setting);
        ASSERT_NE(opened.port, nullptr);
        EXPECT_NE(dynamic_cast<SimulatedCameraModule*>(opened.port.get()), nullptr);
        EXPECT_NE(opened.description.find("simulated camera module"), std::string::npos);
        EXPECT_TRUE(opened.error.empty());
    }
}

TEST(OpenPort, UnknownValueIsRefusedNamingTheAcceptedValues) {
    for (const std::string_view setting : {"ppdev", "Sim", "lpt1", "direct:0x378"}) {
        const OpenedPort opened = openPort(setting);
        EXPECT_EQ(opened.port, nullptr);
        EXPECT_NE(opened.error.find("ORVANE_PORT=" + std::string(setting)), std::string::npos);
        EXPECT_NE(opened.error.find("accepted values: sim"), std::string::npos);
    }
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
        EXPECT_NE(refused.error.find("ORVANE_SCENE=" + path.string()), std::string::npos);
    }
    std::filesystem::remove(good);
    std::filesystem::remove(bad);
}

} // namespace
} // namespace orvane
