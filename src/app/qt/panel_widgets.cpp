// The panel's radio button and slider.
#include "app/qt/panel_widgets.h"

#include <QSignalBlocker>
#include <algorithm>

namespace orvane {

void PanelRadioButton::nextCheckState() {
    setChecked(true);
}

PanelSlider::PanelSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::TicksAbove);
    setSingleStep(1);
    setPanelRange(0, 100);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        switch (static_cast<SliderAction>(action)) {
        case SliderSingleStepAdd:
            record(ScrollCode::LineRight);
            break;
        case SliderSingleStepSub:
            record(ScrollCode::LineLeft);
            break;
        case SliderPageStepAdd:
            record(ScrollCode::PageRight);
            break;
        case SliderPageStepSub:
            record(ScrollCode::PageLeft);
            break;
        case SliderToMinimum:
            record(ScrollCode::Left);
            break;
        case SliderToMaximum:
            record(ScrollCode::Right);
            break;
        case SliderMove:
            record(isSliderDown() ? ScrollCode::ThumbTrack : ScrollCode::ThumbPosition);
            break;
        case SliderNoAction:
            break;
        }
    });
    connect(this, &QAbstractSlider::sliderReleased, this,
            [this] { record(ScrollCode::EndScroll); });
}

void PanelSlider::setPanelRange(int minimum, int maximum) {
    const QSignalBlocker blocker(this);
    setRange(minimum, maximum);
    const int span = std::max(1, maximum - minimum);
    // One interval across the whole range puts a mark at each end and none between.
    setTickInterval(span);
    setPageStep(std::max(1, span / 5));
}

void PanelSlider::record(ScrollCode code) {
    // Only what happens while an input event is handled is the operator's doing.
    if (eventDepth_ > 0)
        pending_.push_back(code);
}

bool PanelSlider::event(QEvent* event) {
    ++eventDepth_;
    const bool handled = QSlider::event(event);
    --eventDepth_;
    if (eventDepth_ > 0)
        return handled;
    // Qt reports an action before it moves the value; the handler is told once it has moved.
    std::vector<ScrollCode> codes;
    codes.swap(pending_);
    for (const ScrollCode code : codes) {
        if (scrollHandler_)
            scrollHandler_(code, value());
    }
    return handled;
}

} // namespace orvane
