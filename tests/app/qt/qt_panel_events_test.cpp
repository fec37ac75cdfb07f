// The Qt panel raises the panel's events with the panel's timing, from the program and the user.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "app/qt/qt_panel.h"
#include "recording_handler.h"

namespace orvane {
namespace {

using testing::RecordingHandler;

constexpr int horizontalStartEdit = 1042;
constexpr int registerValueEdit = 1037; // takes any characters
constexpr int contrastSlider = 1032;
constexpr int yuvRadio = 1024;
constexpr int rgbRadio = 1025;
constexpr int contrastLabel = 1060;

class QtPanelEventsTest : public testing::ShownPanelTest {
protected:
    QLineEdit* edit(int id) { return qobject_cast<QLineEdit*>(panel_.controlWidget(id)); }
    QSlider* slider(int id) { return qobject_cast<QSlider*>(panel_.controlWidget(id)); }

    // Where the slider's handle is drawn.
    static QRect handleRect(QSlider& slider) {
        QStyleOptionSlider option;
        option.initFrom(&slider);
        option.orientation = slider.orientation();
        option.minimum = slider.minimum();
        option.maximum = slider.maximum();
        option.sliderPosition = slider.sliderPosition();
        option.sliderValue = slider.value();
        option.singleStep = slider.singleStep();
        option.pageStep = slider.pageStep();
        option.tickPosition = slider.tickPosition();
        option.tickInterval = slider.tickInterval();
        option.subControls = QStyle::SC_All;
        return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                              &slider);
    }
};

TEST_F(QtPanelEventsTest, ProgramEditWriteRaisesTextChangedOnceBeforeReturning) {
    std::string textSeenByHandler;
    handler_.reaction = [&](const PanelEvent&) {
        textSeenByHandler = panel_.editText(horizontalStartEdit);
    };
    panel_.setEditText(horizontalStartEdit, "56");
    ASSERT_EQ(handler_.events.size(), 1u);
    EXPECT_EQ(handler_.events[0].kind, PanelEventKind::TextChanged);
    EXPECT_EQ(handler_.events[0].controlId, horizontalStartEdit);
    EXPECT_EQ(textSeenByHandler, "56");
    QApplication::processEvents();
    EXPECT_EQ(handler_.events.size(), 1u);
}

TEST_F(QtPanelEventsTest, ProgramEditWriteOfTheSameTextRaisesAgain) {
    panel_.setEditText(horizontalStartEdit, "56");
    panel_.setEditText(horizontalStartEdit, "56");
    EXPECT_EQ(handler_.ofKind(PanelEventKind::TextChanged).size(), 2u);
}

TEST_F(QtPanelEventsTest, ProgramWritesAnyTextIntoADigitsOnlyEdit) {
    panel_.setEditText(horizontalStartEdit, "x-5");
    EXPECT_EQ(panel_.editText(horizontalStartEdit), "x-5");
    EXPECT_EQ(edit(horizontalStartEdit)->text(), QStringLiteral("x-5"));
}

TEST_F(QtPanelEventsTest, TypingRaisesTextChangedOncePerChange) {
    QLineEdit* field = edit(registerValueEdit);
    field->setFocus();
    QTest::keyClicks(field, "1a");
    EXPECT_EQ(panel_.editText(registerValueEdit), "1a");
    const auto changes = handler_.ofKind(PanelEventKind::TextChanged);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].controlId, registerValueEdit);
    EXPECT_EQ(changes[1].controlId, registerValueEdit);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(handler_.ofKind(PanelEventKind::TextChanged).size(), 3u);
}

TEST_F(QtPanelEventsTest, DigitsOnlyEditRejectsLettersFromTheKeyboard) {
    QLineEdit* field = edit(horizontalStartEdit);
    field->setFocus();
    QTest::keyClicks(field, "a1b2-");
    EXPECT_EQ(panel_.editText(horizontalStartEdit), "12");
    EXPECT_EQ(handler_.ofKind(PanelEventKind::TextChanged).size(), 2u);
}

TEST_F(QtPanelEventsTest, ProgramSliderAndRadioWritesRaiseNothing) {
    panel_.setSliderRange(contrastSlider, 0, 255);
    panel_.setSliderPosition(contrastSlider, 200);
    panel_.setSliderTickFrequency(contrastSlider, 10);
    panel_.setChecked(yuvRadio, true);
    panel_.setChecked(rgbRadio, false);
    panel_.setStaticText(contrastLabel, "200");
    QApplication::processEvents();
    EXPECT_TRUE(handler_.events.empty());
    EXPECT_EQ(panel_.sliderPosition(contrastSlider), 200);
    EXPECT_EQ(slider(contrastSlider)->maximum(), 255);
    EXPECT_TRUE(panel_.isChecked(yuvRadio));
    EXPECT_FALSE(panel_.isChecked(rgbRadio));
    EXPECT_EQ(panel_.staticText(contrastLabel), "200");
}

TEST_F(QtPanelEventsTest, SliderTicksStayAtTheTwoEnds) {
    panel_.setSliderRange(contrastSlider, 0, 255);
    panel_.setSliderTickFrequency(contrastSlider, 10);
    EXPECT_EQ(slider(contrastSlider)->tickInterval(), 255);
}

TEST_F(QtPanelEventsTest, ArrowKeyOnASliderRaisesScrollWithTheNewPosition) {
    panel_.setSliderRange(contrastSlider, 0, 255);
    panel_.setSliderPosition(contrastSlider, 100);
    int positionQueried = -1;
    handler_.reaction = [&](const PanelEvent&) {
        positionQueried = panel_.sliderPosition(contrastSlider);
    };
    QTest::keyClick(slider(contrastSlider), Qt::Key_Right);
    ASSERT_EQ(handler_.events.size(), 1u);
    const PanelEvent& event = handler_.events[0];
    EXPECT_EQ(event.kind, PanelEventKind::HorizontalScroll);
    EXPECT_EQ(event.controlId, contrastSlider);
    EXPECT_EQ(event.scrollCode, ScrollCode::LineRight);
    EXPECT_EQ(event.position, 101);
    EXPECT_EQ(positionQueried, 101);
}

TEST_F(QtPanelEventsTest, SliderKeysReportTheirScrollCodes) {
    panel_.setSliderRange(contrastSlider, 0, 255);
    panel_.setSliderPosition(contrastSlider, 100);
    const struct {
        Qt::Key key;
        ScrollCode code;
        int position;
    } cases[] = {
        {Qt::Key_Left, ScrollCode::LineLeft, 99},     {Qt::Key_PageUp, ScrollCode::PageRight, 150},
        {Qt::Key_PageDown, ScrollCode::PageLeft, 99}, {Qt::Key_End, ScrollCode::Right, 255},
        {Qt::Key_Home, ScrollCode::Left, 0},
    };
    for (const auto& c : cases) {
        handler_.events.clear();
        QTest::keyClick(slider(contrastSlider), c.key);
        ASSERT_EQ(handler_.events.size(), 1u) << c.key;
        EXPECT_EQ(handler_.events[0].scrollCode, c.code) << c.key;
        EXPECT_EQ(handler_.events[0].position, c.position) << c.key;
    }
}

TEST_F(QtPanelEventsTest, DraggingRaisesThumbTrackThenOneEndScroll) {
    QSlider* contrast = slider(contrastSlider);
    panel_.setSliderRange(contrastSlider, 0, 255);
    panel_.setSliderPosition(contrastSlider, 0);
    const QPoint start = handleRect(*contrast).center();
    const QPoint end = start + QPoint(contrast->width() / 2, 0);
    QMouseEvent press(QEvent::MouseButtonPress, start, contrast->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(contrast, &press);
    QMouseEvent move(QEvent::MouseMove, end, contrast->mapToGlobal(end), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(contrast, &move);
    const int dragged = panel_.sliderPosition(contrastSlider);
    ASSERT_GT(dragged, 0);
    QMouseEvent release(QEvent::MouseButtonRelease, end, contrast->mapToGlobal(end), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(contrast, &release);

    const auto scrolls = handler_.ofKind(PanelEventKind::HorizontalScroll);
    ASSERT_GE(scrolls.size(), 2u);
    EXPECT_EQ(scrolls.front().scrollCode, ScrollCode::ThumbTrack);
    EXPECT_EQ(scrolls.front().position, dragged);
    EXPECT_EQ(scrolls.back().scrollCode, ScrollCode::EndScroll);
    EXPECT_EQ(scrolls.back().position, dragged);
    EXPECT_EQ(
        std::count_if(scrolls.begin(), scrolls.end(),
                      [](const PanelEvent& e) { return e.scrollCode == ScrollCode::EndScroll; }),
        1);
}

TEST_F(QtPanelEventsTest, ClickingACheckedRadioKeepsItCheckedAndRaisesClicked) {
    panel_.setChecked(yuvRadio, true);
    bool checkedWhenHandled = false;
    handler_.reaction = [&](const PanelEvent&) { checkedWhenHandled = panel_.isChecked(yuvRadio); };
    QTest::mouseClick(panel_.controlWidget(yuvRadio), Qt::LeftButton);
    EXPECT_TRUE(panel_.isChecked(yuvRadio));
    EXPECT_TRUE(checkedWhenHandled);
    ASSERT_EQ(handler_.events.size(), 1u);
    EXPECT_TRUE(testing::isClicked(handler_.events[0], yuvRadio));
}

TEST_F(QtPanelEventsTest, ClickingARadioChecksOnlyItself) {
    panel_.setChecked(yuvRadio, true);
    QTest::mouseClick(panel_.controlWidget(rgbRadio), Qt::LeftButton);
    EXPECT_TRUE(panel_.isChecked(rgbRadio));
    EXPECT_TRUE(panel_.isChecked(yuvRadio));
    ASSERT_EQ(handler_.events.size(), 1u);
    EXPECT_TRUE(testing::isClicked(handler_.events[0], rgbRadio));
}

TEST_F(QtPanelEventsTest, EveryPushButtonRaisesClickedWithItsId) {
    for (const ControlTemplate& control : controlPanelTemplate.controls) {
        if (control.kind != ControlKind::PushButton)
            continue;
        handler_.events.clear();
        QTest::mouseClick(panel_.controlWidget(control.id), Qt::LeftButton);
        ASSERT_EQ(handler_.events.size(), 1u) << control.id;
        EXPECT_TRUE(testing::isClicked(handler_.events[0], control.id));
    }
    EXPECT_TRUE(panel_.isVisible());
}

} // namespace
} // namespace orvane
