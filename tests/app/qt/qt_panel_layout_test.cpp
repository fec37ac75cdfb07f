// The Qt panel realises the templates control for control: IDs, kinds, captions, states, places.
#include <QDir>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "app/qt/about_box.h"
#include "app/qt/dialog_builder.h"
#include "app/qt/icon_image.h"
#include "app/qt/qt_panel.h"
#include "resources/app_icon.h"
#include "resources/build_version.h"

namespace orvane {
namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool hasStyle(const ControlTemplate& control, uint32_t style) {
    return (control.style & style) != 0;
}

// Dialog units worked out here from the panel's font, independently of the builder.
struct ExpectedUnits {
    explicit ExpectedUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        double alphabet = 0;
        for (char c = 'A'; c <= 'Z'; ++c)
            alphabet +=
                metrics.horizontalAdvance(QChar(c)) + metrics.horizontalAdvance(QChar(c + 32));
        average = alphabet / 52.0;
        height = metrics.height();
    }
    double average;
    int height;
};

class QtPanelLayoutTest : public ::testing::Test {
protected:
    QtPanel panel_;
};

TEST_F(QtPanelLayoutTest, TitleIsTheTemplatesWithItsTrailingBlank) {
    EXPECT_EQ(panel_.windowTitle(), QStringLiteral("Color Orvane Panel for OV7610 "));
}

TEST_F(QtPanelLayoutTest, EveryControlHasItsKindCaptionAndState) {
    ASSERT_EQ(panel_.controlCount(), controlPanelTemplate.controls.size());
    for (std::size_t i = 0; i < panel_.controlCount(); ++i) {
        const ControlTemplate& control = controlPanelTemplate.controls[i];
        QWidget* widget = panel_.controlWidgetAt(i);
        SCOPED_TRACE(testing::Message() << "row " << i << " id " << control.id);
        ASSERT_NE(widget, nullptr);
        if (control.id != noControlId) {
            EXPECT_EQ(panel_.controlWidget(control.id), widget);
        }
        const QString caption = qText(control.caption);
        switch (control.kind) {
        case ControlKind::PushButton: {
            auto* button = qobject_cast<QPushButton*>(widget);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), caption);
            EXPECT_FALSE(button->autoDefault());
            break;
        }
        case ControlKind::Edit: {
            auto* edit = qobject_cast<QLineEdit*>(widget);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->validator() != nullptr, hasStyle(control, ControlStyle::digitsOnly));
            break;
        }
        case ControlKind::RadioButton: {
            auto* radio = qobject_cast<QRadioButton*>(widget);
            ASSERT_NE(radio, nullptr);
            EXPECT_EQ(radio->text(), caption);
            EXPECT_FALSE(radio->autoExclusive());
            EXPECT_FALSE(radio->isChecked());
            EXPECT_EQ(radio->layoutDirection() == Qt::RightToLeft,
                      hasStyle(control, ControlStyle::leftText));
            break;
        }
        case ControlKind::Slider: {
            auto* slider = qobject_cast<QSlider*>(widget);
            ASSERT_NE(slider, nullptr);
            EXPECT_EQ(slider->orientation(), Qt::Horizontal);
            EXPECT_EQ(slider->tickPosition(), QSlider::TicksAbove);
            break;
        }
        case ControlKind::StaticText: {
            auto* label = qobject_cast<QLabel*>(widget);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), caption);
            EXPECT_TRUE(label->alignment() & Qt::AlignLeft);
            EXPECT_EQ((label->alignment() & Qt::AlignVCenter) != 0,
                      hasStyle(control, ControlStyle::centerVertically));
            break;
        }
        case ControlKind::GroupBox: {
            auto* group = qobject_cast<QGroupBox*>(widget);
            ASSERT_NE(group, nullptr);
            EXPECT_EQ(group->title(), caption);
            break;
        }
        case ControlKind::Icon:
            ADD_FAILURE() << "the panel has no icon control";
            break;
        }
        EXPECT_EQ(widget->isHidden(), hasStyle(control, ControlStyle::hidden));
        EXPECT_EQ(widget->isEnabled(), !hasStyle(control, ControlStyle::disabled));
    }
}

TEST_F(QtPanelLayoutTest, OnlyTheSetRegisterButtonIsDrawnAsTheDefault) {
    for (const ControlTemplate& control : controlPanelTemplate.controls) {
        if (auto* button = qobject_cast<QPushButton*>(panel_.controlWidget(control.id))) {
            EXPECT_EQ(button->isDefault(), control.id == okCommand) << control.id;
        }
    }
}

TEST_F(QtPanelLayoutTest, ControlsSitWhereTheTemplatePutsThemInDialogUnits) {
    const ExpectedUnits units(panel_.font());
    const auto toX = [&](int du) { return du * units.average / 4.0; };
    const auto toY = [&](int du) { return du * units.height / 8.0; };
    // Whole pixels: the builder rounds its base width, which moves a coordinate by at most
    // du / 8 pixels, plus one for rounding the result.
    const auto near = [](int actual, double expected, int du) {
        return std::abs(actual - expected) <= du / 8.0 + 1.0;
    };
    EXPECT_TRUE(near(panel_.width(), toX(controlPanelTemplate.width), controlPanelTemplate.width))
        << panel_.width();
    EXPECT_TRUE(near(panel_.height(), toY(controlPanelTemplate.height), 0)) << panel_.height();
    for (std::size_t i = 0; i < panel_.controlCount(); ++i) {
        const ControlTemplate& control = controlPanelTemplate.controls[i];
        const QRect geometry = panel_.controlWidgetAt(i)->geometry();
        SCOPED_TRACE(testing::Message() << "row " << i << " id " << control.id);
        EXPECT_TRUE(near(geometry.x(), toX(control.rect.x), control.rect.x)) << geometry.x();
        EXPECT_TRUE(near(geometry.y(), toY(control.rect.y), 0)) << geometry.y();
        EXPECT_TRUE(near(geometry.height(), toY(control.rect.height), 0)) << geometry.height();
        const bool mayGrow =
            control.kind == ControlKind::StaticText || control.kind == ControlKind::RadioButton;
        if (mayGrow && !near(geometry.width(), toX(control.rect.width), control.rect.width)) {
            // Grown only as far as the caption needs.
            EXPECT_LE(geometry.width(), captionWidth(*panel_.controlWidgetAt(i)));
        } else {
            EXPECT_TRUE(near(geometry.width(), toX(control.rect.width), control.rect.width))
                << geometry.width();
        }
    }
}

TEST_F(QtPanelLayoutTest, NoShownCaptionIsClipped) {
    for (std::size_t i = 0; i < panel_.controlCount(); ++i) {
        const ControlTemplate& control = controlPanelTemplate.controls[i];
        QWidget* widget = panel_.controlWidgetAt(i);
        if (widget->isHidden())
            continue;
        SCOPED_TRACE(testing::Message() << "row " << i << " id " << control.id);
        const QFontMetrics metrics(widget->font());
        const int textWidth = metrics.horizontalAdvance(qText(control.caption).remove('&'));
        switch (control.kind) {
        case ControlKind::StaticText:
        case ControlKind::RadioButton:
            EXPECT_LE(captionWidth(*widget), widget->width());
            EXPECT_LE(metrics.height(), widget->height());
            break;
        case ControlKind::PushButton:
        case ControlKind::GroupBox:
            EXPECT_LT(textWidth, widget->width());
            break;
        default:
            break;
        }
    }
}

TEST_F(QtPanelLayoutTest, ShownControlsNeitherOverlapNorLeaveTheirGroupOrThePanel) {
    const QRect client = panel_.rect();
    for (std::size_t i = 0; i < panel_.controlCount(); ++i) {
        QWidget* widget = panel_.controlWidgetAt(i);
        const ControlTemplate& control = controlPanelTemplate.controls[i];
        if (widget->isHidden())
            continue;
        EXPECT_TRUE(client.contains(widget->geometry())) << "row " << i;
        for (std::size_t j = 0; j < panel_.controlCount(); ++j) {
            QWidget* other = panel_.controlWidgetAt(j);
            const ControlTemplate& otherControl = controlPanelTemplate.controls[j];
            if (j == i || other->isHidden())
                continue;
            if (otherControl.kind == ControlKind::GroupBox) {
                // A control that starts inside a group box stays inside it.
                if (control.kind != ControlKind::GroupBox &&
                    other->geometry().contains(widget->geometry().topLeft())) {
                    EXPECT_TRUE(other->geometry().contains(widget->geometry()))
                        << "row " << i << " leaves group row " << j;
                }
            } else if (j > i && control.kind != ControlKind::GroupBox) {
                EXPECT_FALSE(widget->geometry().intersects(other->geometry()))
                    << "rows " << i << " and " << j;
            }
        }
    }
}

TEST_F(QtPanelLayoutTest, GroupBoxesLieBehindEveryOtherControl) {
    const QObjectList& children = panel_.children();
    qsizetype lastGroup = -1;
    qsizetype firstOther = children.size();
    for (qsizetype index = 0; index < children.size(); ++index) {
        auto* widget = qobject_cast<QWidget*>(children[index]);
        if (widget == nullptr || widget->isWindow())
            continue;
        if (qobject_cast<QGroupBox*>(widget) != nullptr)
            lastGroup = index;
        else
            firstOther = std::min(firstOther, index);
    }
    // Qt paints later children over earlier ones.
    EXPECT_LT(lastGroup, firstOther);
}

TEST_F(QtPanelLayoutTest, TabOrderIsTheTemplateOrder) {
    std::vector<QWidget*> expected;
    for (std::size_t i = 0; i < panel_.controlCount(); ++i) {
        QWidget* widget = panel_.controlWidgetAt(i);
        if (widget->focusPolicy() & Qt::TabFocus)
            expected.push_back(widget);
    }
    ASSERT_GT(expected.size(), 1u);
    for (std::size_t i = 0; i + 1 < expected.size(); ++i) {
        QWidget* next = expected[i]->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, expected[i + 1]) << "after tab stop " << i;
    }
}

TEST(IconImageTest, PixelsComeFromTheRowsAndPalette) {
    const QImage image = iconImage(appIconId);
    ASSERT_EQ(image.size(), QSize(appIconSize, appIconSize));
    for (int y = 0; y < appIconSize; ++y) {
        for (int x = 0; x < appIconSize; ++x) {
            const char key = appIconRows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            ASSERT_EQ(image.pixel(x, y), appIconColour(key)) << x << "," << y;
        }
    }
    EXPECT_TRUE(iconImage(appIconId + 1).isNull());
    EXPECT_FALSE(windowIconFor(appIconId).isNull());
    EXPECT_TRUE(windowIconFor(appIconId + 1).isNull());
}

TEST(AboutBoxLayoutTest, ShowsTitleIconTextAndOk) {
    AboutBox about(nullptr, std::nullopt);
    EXPECT_EQ(about.workingFolderLine(), nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Orvane"));
    auto* icon = qobject_cast<QLabel*>(about.controlWidgetAt(0));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              iconImage(appIconId));
    auto* text = qobject_cast<QLabel*>(about.controlWidgetAt(1));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), QStringLiteral("Color Orvane Panel for OV7610, version ") +
                                QString::fromUtf8(buildVersion.data()) + ", MIT licence");
    EXPECT_LE(captionWidth(*text), text->width());
    auto* ok = qobject_cast<QPushButton*>(about.controlWidgetAt(2));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_FALSE(text->geometry().intersects(ok->geometry()));
}

TEST(AboutBoxLayoutTest, FromTheMenuLauncherASecondLineNamesTheWorkingFolder) {
    const QString folder = QDir::currentPath();
    qputenv("ORVANE_WORKING_FOLDER", "/");
    EXPECT_EQ(launcherWorkingFolder(), std::nullopt); // not where the program runs
    qputenv("ORVANE_WORKING_FOLDER", folder.toLocal8Bit());
    AboutBox about;
    qunsetenv("ORVANE_WORKING_FOLDER");
    QLabel* line = about.workingFolderLine();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QStringLiteral("Working folder: ") + folder);
    EXPECT_GT(line->y(), about.controlWidgetAt(1)->geometry().bottom());
    EXPECT_TRUE(about.rect().contains(line->geometry()));
    EXPECT_FALSE(line->geometry().intersects(about.controlWidgetAt(2)->geometry()));
}

} // namespace
} // namespace orvane
