// Port backend selection from ORVANE_PORT.
#include "port/port_factory.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace orvane
