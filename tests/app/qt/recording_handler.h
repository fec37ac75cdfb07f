// Test helpers for the Qt panel: a handler that records events, and bounded waits for modal boxes.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include <QTest>
#include <gtest/gtest.h>

#include "app/qt/qt_panel.h"
#include "toolkit/panel_event.h"

namespace orvane::testing {

// Records every event in order; an optional reaction runs inside the dispatch, as a handler would.
class RecordingHandler final : public PanelEventHandler {
public:
    void onPanelEvent(const PanelEvent& event) override {
        events.push_back(event);
        if (reaction)
            reaction(event);
    }

    std::vector<PanelEvent> ofKind(PanelEventKind kind) const {
        std::vector<PanelEvent> found;
        for (const PanelEvent& event : events) {
            if (event.kind == kind)
                found.push_back(event);
        }
        return found;
    }

    std::vector<PanelEvent> events;
    std::function<void(const PanelEvent&)> reaction;
};

inline bool isClicked(const PanelEvent& event, int id) {
    return event.kind == PanelEventKind::Clicked && event.controlId == id;
}

// Once a modal window of type Window is shown (polled every 10 ms for at most 5 s), hands it to
// the visitor, which must close it. If none appears, closes whatever modal window is open so
// the test fails instead of hanging.
template <typename Window> void whenModalShown(std::function<void(Window&)> visit) {
    auto* timer = new QTimer;
    auto attempts = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, attempts, visit] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window != nullptr && window->isVisible()) {
            timer->stop();
            timer->deleteLater();
            visit(*window);
            return;
        }
        if (++*attempts > 500) {
            timer->stop();
            timer->deleteLater();
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        }
    });
    timer->start();
}

// A shown panel whose events are recorded, starting from an empty record.
class ShownPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel_.setEventHandler(&handler_);
        panel_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel_));
        handler_.events.clear();
    }

    QtPanel panel_;
    RecordingHandler handler_;
};

} // namespace orvane::testing
