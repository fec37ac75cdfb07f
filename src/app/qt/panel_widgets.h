// Widgets with the behaviour the panel's controls need beyond Qt's defaults.
#pragma once

#include <functional>
#include <vector>

#include <QRadioButton>
#include <QSlider>

#include "toolkit/panel_event.h"

namespace orvane {

// A radio button that a click always leaves checked, even when it is its own group.
class PanelRadioButton final : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override;
};

// A horizontal slider with tick marks above it at its two ends only. It reports the operator's
// actions after the value has moved, so a handler that reads the position sees the new one;
// changes made by the program report nothing.
class PanelSlider final : public QSlider {
    Q_OBJECT
public:
    using ScrollHandler = std::function<void(ScrollCode code, int position)>;

    explicit PanelSlider(QWidget* parent = nullptr);

    void setScrollHandler(ScrollHandler handler) { scrollHandler_ = std::move(handler); }

    // Sets the range without raising anything; the page is a fifth of the range.
    void setPanelRange(int minimum, int maximum);

protected:
    bool event(QEvent* event) override;

private:
    void record(ScrollCode code);

    ScrollHandler scrollHandler_;
    std::vector<ScrollCode> pending_;
    int eventDepth_ = 0;
};

} // namespace orvane
