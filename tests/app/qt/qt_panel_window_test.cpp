// The Qt panel's window: Enter, Escape and Close, the modal run, message boxes, the system menu,
// the About box, the busy cursor and the icon painted while minimised.
#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/qt/about_box.h"
#include "app/qt/icon_image.h"
#include "app/qt/qt_panel.h"
#include "recording_handler.h"
#include "resources/app_icon.h"

namespace orvane {
namespace {

using testing::isClicked;
using testing::RecordingHandler;
using testing::whenModalShown;

constexpr int fileNameEdit = 1065;
constexpr int exitButton = 2;

class QtPanelWindowTest : public testing::ShownPanelTest {
protected:
    // Runs the panel modally after queueing the action; a run that does not end within five
    // seconds is ended with -1.
    int runModalWith(std::function<void()> action) {
        QTimer::singleShot(0, &panel_, std::move(action));
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &panel_, [this] { panel_.done(-1); });
        guard.start(5000);
        return panel_.runModal();
    }
};

TEST_F(QtPanelWindowTest, EnterRaisesCommandOneAndDoesNotClose) {
    QWidget* field = panel_.controlWidget(fileNameEdit);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(handler_.events.size(), 2u);
    EXPECT_TRUE(isClicked(handler_.events[0], okCommand));
    EXPECT_TRUE(isClicked(handler_.events[1], okCommand));
    QApplication::processEvents();
    EXPECT_TRUE(panel_.isVisible());
}

TEST_F(QtPanelWindowTest, EnterOnAPushButtonPressesIt) {
    for (const ControlTemplate& control : controlPanelTemplate.controls) {
        QWidget* button = panel_.controlWidget(control.id);
        if (control.kind != ControlKind::PushButton || !button->isEnabled())
            continue;
        handler_.events.clear();
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        ASSERT_EQ(handler_.events.size(), 1u) << control.id;
        EXPECT_TRUE(isClicked(handler_.events[0], control.id)) << control.id;
    }
    EXPECT_TRUE(panel_.isVisible());
}

TEST_F(QtPanelWindowTest, EscapeAndCloseRaiseOnlyCommandTwo) {
    QWidget* field = panel_.controlWidget(fileNameEdit);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    panel_.close();
    ASSERT_EQ(handler_.events.size(), 2u);
    EXPECT_TRUE(isClicked(handler_.events[0], cancelCommand));
    EXPECT_TRUE(isClicked(handler_.events[1], cancelCommand));
    // Nobody ended the dialog, so it is still open.
    QApplication::processEvents();
    EXPECT_TRUE(panel_.isVisible());
}

TEST_F(QtPanelWindowTest, EscapeEndsTheModalRunWhenTheHandlerEndsTheDialog) {
    handler_.reaction = [this](const PanelEvent& event) {
        if (isClicked(event, cancelCommand))
            panel_.endDialog(cancelCommand);
    };
    const int result = runModalWith([this] { QTest::keyClick(&panel_, Qt::Key_Escape); });
    EXPECT_EQ(result, 2);
    EXPECT_FALSE(panel_.isVisible());
    EXPECT_EQ(handler_.ofKind(PanelEventKind::Clicked).size(), 1u);
}

TEST_F(QtPanelWindowTest, CloseEndsTheModalRunWhenTheHandlerEndsTheDialog) {
    handler_.reaction = [this](const PanelEvent& event) {
        if (isClicked(event, cancelCommand))
            panel_.endDialog(cancelCommand);
    };
    const int result = runModalWith([this] { panel_.close(); });
    EXPECT_EQ(result, 2);
    EXPECT_FALSE(panel_.isVisible());
    EXPECT_EQ(handler_.events.size(), 1u);
}

TEST_F(QtPanelWindowTest, ExitButtonEndsTheModalRunWhenTheHandlerEndsTheDialog) {
    handler_.reaction = [this](const PanelEvent& event) {
        if (isClicked(event, exitButton))
            panel_.endDialog(2);
    };
    const int result = runModalWith(
        [this] { QTest::mouseClick(panel_.controlWidget(exitButton), Qt::LeftButton); });
    EXPECT_EQ(result, 2);
}

TEST_F(QtPanelWindowTest, MessageBoxHasTheExactCaptionTextAndOneOkButton) {
    QString title;
    QString text;
    int buttons = -1;
    QMessageBox::Icon icon = QMessageBox::Critical;
    bool modal = false;
    whenModalShown<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        buttons = static_cast<int>(box.buttons().size());
        icon = box.icon();
        modal = box.isModal();
        if (QAbstractButton* ok = box.button(QMessageBox::Ok))
            ok->click();
        else
            box.close();
    });
    panel_.messageBox("All registers were set!", "I2C Control");
    EXPECT_EQ(title, QStringLiteral("I2C Control"));
    EXPECT_EQ(text, QStringLiteral("All registers were set!"));
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(handler_.events.empty());
}

TEST_F(QtPanelWindowTest, SystemMenuListsTheWindowCommandsThenTheAppendedItems) {
    panel_.appendSystemMenuSeparator();
    panel_.appendSystemMenuItem(aboutCommand, "&About Orvane...");
    const QList<QAction*> actions = panel_.systemMenu()->actions();
    std::vector<int> ids;
    for (QAction* action : actions)
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    const std::vector<int> expected{systemRestore, systemMove, systemMinimize, systemMaximize, 0,
                                    systemClose,   0,          aboutCommand};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(actions.back()->text(), QStringLiteral("&About Orvane..."));
    EXPECT_TRUE(panel_.hasSystemMenu());
}

TEST_F(QtPanelWindowTest, ChoosingAnItemFromTheMenuOpenedByAltSpaceRaisesSystemCommand) {
    panel_.appendSystemMenuSeparator();
    panel_.appendSystemMenuItem(aboutCommand, "&About Orvane...");
    panel_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel_));
    QTest::keyClick(&panel_, Qt::Key_Space, Qt::AltModifier);
    QMenu* menu = panel_.systemMenu();
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
    QAction* about = menu->actions().back();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(about).center());
    ASSERT_EQ(handler_.events.size(), 1u);
    EXPECT_EQ(handler_.events[0].kind, PanelEventKind::SystemCommand);
    EXPECT_EQ(handler_.events[0].controlId, aboutCommand);
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(QtPanelWindowTest, RightClickOnTheBackgroundOpensTheSystemMenu) {
    const QPoint corner(2, 2);
    ASSERT_EQ(panel_.childAt(corner), nullptr);
    QContextMenuEvent event(QContextMenuEvent::Mouse, corner, panel_.mapToGlobal(corner));
    QApplication::sendEvent(&panel_, &event);
    QMenu* menu = panel_.systemMenu();
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
    menu->close();
    EXPECT_TRUE(handler_.events.empty());
}

TEST_F(QtPanelWindowTest, DefaultProcessingOfCloseRaisesCommandTwo) {
    panel_.defaultProcessing({PanelEventKind::SystemCommand, systemClose});
    ASSERT_EQ(handler_.events.size(), 1u);
    EXPECT_TRUE(isClicked(handler_.events[0], cancelCommand));
}

TEST_F(QtPanelWindowTest, DefaultProcessingMinimisesAndRestores) {
    panel_.defaultProcessing({PanelEventKind::SystemCommand, systemMinimize});
    EXPECT_TRUE(panel_.isMinimized());
    panel_.defaultProcessing({PanelEventKind::SystemCommand, systemRestore});
    EXPECT_FALSE(panel_.isMinimized());
    // Other events need nothing of it.
    panel_.defaultProcessing({PanelEventKind::Paint});
    EXPECT_TRUE(handler_.events.empty());
}

TEST_F(QtPanelWindowTest, AboutBoxEndsWithOkAndWithEscape) {
    QString title;
    whenModalShown<AboutBox>([&](AboutBox& about) {
        title = about.windowTitle();
        QTest::mouseClick(about.controlWidgetAt(2), Qt::LeftButton);
    });
    panel_.runAboutBox();
    EXPECT_EQ(title, QStringLiteral("About Orvane"));

    bool shown = false;
    whenModalShown<AboutBox>([&](AboutBox& about) {
        shown = true;
        QTest::keyClick(&about, Qt::Key_Escape);
    });
    panel_.runAboutBox();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(handler_.events.empty());
}

TEST_F(QtPanelWindowTest, BusyCursorNestsAndNeverPopsOthers) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    QApplication::setOverrideCursor(Qt::CrossCursor);
    panel_.setBusy(true);
    panel_.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    panel_.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    panel_.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    panel_.setBusy(false);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtPanelWindowTest, IconsAndSizes) {
    panel_.setLargeIcon(appIconId);
    panel_.setSmallIcon(appIconId);
    EXPECT_FALSE(panel_.windowIcon().isNull());
    EXPECT_EQ(panel_.iconSize().width, 32);
    EXPECT_EQ(panel_.iconSize().height, 32);
    EXPECT_EQ(panel_.clientSize().width, panel_.width());
    EXPECT_EQ(panel_.clientSize().height, panel_.height());
    // A fixed size, as a dialog frame has: no maximise button, and Maximize does nothing.
    EXPECT_FALSE(panel_.windowFlags() & Qt::WindowMaximizeButtonHint);
    emit panel_.systemMenu()->aboutToShow();
    EXPECT_FALSE(panel_.systemMenu()->actions().at(3)->isEnabled());
    panel_.defaultProcessing({PanelEventKind::SystemCommand, systemMaximize});
    EXPECT_FALSE(panel_.isMaximized());
}

TEST_F(QtPanelWindowTest, MinimisedPaintRaisesPaintAndDrawsTheIconWhereAsked) {
    const QPoint at(40, 30);
    handler_.reaction = [&](const PanelEvent& event) {
        if (event.kind == PanelEventKind::Paint)
            panel_.drawIcon(appIconId, at.x(), at.y());
    };
    panel_.showMinimized();
    ASSERT_TRUE(panel_.isMinimized());
    QImage image(panel_.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    // The window itself, as the icon would show without the controls.
    panel_.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    ASSERT_FALSE(handler_.ofKind(PanelEventKind::Paint).empty());
    const QImage icon = iconImage(appIconId);
    int compared = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            if (qAlpha(icon.pixel(x, y)) == 255) {
                ASSERT_EQ(image.pixel(at.x() + x, at.y() + y), icon.pixel(x, y)) << x << "," << y;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 100);
}

TEST_F(QtPanelWindowTest, NoPaintEventWhileShownNormally) {
    QImage image(panel_.size(), QImage::Format_ARGB32);
    panel_.render(&image);
    EXPECT_TRUE(handler_.ofKind(PanelEventKind::Paint).empty());
}

} // namespace
} // namespace orvane
