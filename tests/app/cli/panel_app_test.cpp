// PanelApp: the modal run ends the program with status 0 after Exit, whatever the loop returns.
#include "app/panel_app.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/headless/headless_panel.h"
#include "resources/control_ids.h"
#include "resources/panel_templates.h"

namespace orvane {
namespace {

TEST(PanelApp, RunEndsWithStatusZeroAfterExitAndRecordsNothingUnasked) {
    PanelApp app;
    std::ostringstream messages;
    ASSERT_TRUE(app.openPort(PortSettings{"sim", std::nullopt, ""}, messages));
    EXPECT_EQ(messages.str().find("recording"), std::string::npos);
    HeadlessPanel panel(controlPanelTemplate);
    const int status = app.run(
        panel,
        [&] {
            panel.click(ControlId::exitButton);
            return panel.result();
        },
        messages);
    EXPECT_EQ(panel.result(), 2);
    EXPECT_EQ(status, 0);
}

} // namespace
} // namespace orvane
