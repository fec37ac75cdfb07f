// The Qt panel: template widgets, the panel's event timing, its system menu and message boxes.
#include "app/qt/qt_panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QWindow>
#include <array>

#include "app/qt/about_box.h"
#include "app/qt/icon_image.h"
#include "app/qt/panel_widgets.h"

namespace orvane {
namespace {

// The usual window commands at the top of the system menu; command 0 is a separator.
struct WindowCommand {
    int commandId;
    const char* text;
};

constexpr std::array<WindowCommand, 6> windowCommands{{
    {systemRestore, "&Restore"},
    {systemMove, "&Move"},
    {systemMinimize, "Mi&nimize"},
    {systemMaximize, "Ma&ximize"},
    {0, ""},
    {systemClose, "&Close\tAlt+F4"},
}};

// System command IDs carry flags in their low four bits.
constexpr int systemCommandMask = 0xFFF0;

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QtPanel::QtPanel(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), iconImage_(iconImage(appIconId)) {
    // An application window, so it shows in the task bar, with the frame of a dialog: its size
    // is fixed by the template, so there is no maximise button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    controls_ = buildDialog(*this, dialogTemplate, iconImage_);
    connectControls();
    buildSystemMenu();
}

QtPanel::~QtPanel() {
    while (busyDepth_ > 0)
        setBusy(false);
}

void QtPanel::connectControls() {
    for (const BuiltControl& control : controls_) {
        const int id = control.source->id;
        if (id == noControlId)
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(control.widget)) {
            // Radio buttons have already forced their check when clicked is emitted.
            connect(button, &QAbstractButton::clicked, this, [this, id] {
                dispatch({PanelEventKind::Clicked, id});
            });
        } else if (auto* edit = qobject_cast<QLineEdit*>(control.widget)) {
            // Typing only: the program's own writes are raised by setEditText.
            connect(edit, &QLineEdit::textEdited, this, [this, id] {
                dispatch({PanelEventKind::TextChanged, id});
            });
        } else if (auto* slider = qobject_cast<PanelSlider*>(control.widget)) {
            slider->setScrollHandler([this, id](ScrollCode code, int position) {
                dispatch({PanelEventKind::HorizontalScroll, id, code, position});
            });
        }
    }
}

void QtPanel::buildSystemMenu() {
    systemMenu_ = new QMenu(this);
    for (const WindowCommand& command : windowCommands) {
        if (command.commandId == 0) {
            systemMenu_->addSeparator();
            continue;
        }
        QAction* action = systemMenu_->addAction(QString::fromUtf8(command.text));
        action->setData(command.commandId);
        const int id = command.commandId;
        connect(action, &QAction::triggered, this, [this, id] {
            dispatch({PanelEventKind::SystemCommand, id});
        });
    }
    connect(systemMenu_, &QMenu::aboutToShow, this, &QtPanel::updateSystemMenu);
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(shortcut, &QShortcut::activated, this,
            [this] { showSystemMenu(mapToGlobal(QPoint(0, 0))); });
}

void QtPanel::updateSystemMenu() {
    const bool minimized = QWidget::isMinimized();
    const bool maximized = isMaximized();
    for (QAction* action : systemMenu_->actions()) {
        switch (action->data().toInt()) {
        case systemRestore:
            action->setEnabled(minimized || maximized);
            break;
        case systemMove:
            action->setEnabled(!minimized && !maximized);
            break;
        case systemMinimize:
            action->setEnabled(!minimized);
            break;
        case systemMaximize:
            action->setEnabled(false); // the size is fixed, as a dialog frame's is
            break;
        default:
            break;
        }
    }
}

void QtPanel::showSystemMenu(const QPoint& globalPosition) {
    systemMenu_->popup(globalPosition);
}

void QtPanel::dispatch(const PanelEvent& event) {
    if (handler_ != nullptr)
        handler_->onPanelEvent(event);
}

const BuiltControl* QtPanel::built(int id) const {
    return id == noControlId ? nullptr : findBuilt(controls_, id);
}

template <typename Widget> Widget* QtPanel::widgetAs(int id) const {
    const BuiltControl* control = built(id);
    return control != nullptr ? qobject_cast<Widget*>(control->widget) : nullptr;
}

QWidget* QtPanel::controlWidget(int id) const {
    const BuiltControl* control = built(id);
    return control != nullptr ? control->widget : nullptr;
}

QWidget* QtPanel::controlWidgetAt(std::size_t index) const {
    return index < controls_.size() ? controls_[index].widget : nullptr;
}

void QtPanel::setEditText(int id, std::string_view text) {
    auto* edit = widgetAs<QLineEdit>(id);
    if (edit == nullptr)
        return;
    // setText bypasses the digits-only check and raises textChanged only on a difference, so
    // the change is raised here, every time, before returning.
    edit->setText(qText(text));
    dispatch({PanelEventKind::TextChanged, id});
}

std::string QtPanel::editText(int id) const {
    const auto* edit = widgetAs<QLineEdit>(id);
    return edit != nullptr ? edit->text().toStdString() : std::string();
}

void QtPanel::setChecked(int id, bool checked) {
    if (auto* radio = widgetAs<QAbstractButton>(id)) {
        const QSignalBlocker blocker(radio);
        radio->setChecked(checked);
    }
}

bool QtPanel::isChecked(int id) const {
    const auto* radio = widgetAs<QAbstractButton>(id);
    return radio != nullptr && radio->isChecked();
}

void QtPanel::setSliderRange(int id, int minimum, int maximum) {
    if (auto* slider = widgetAs<PanelSlider>(id))
        slider->setPanelRange(minimum, maximum);
}

void QtPanel::setSliderPosition(int id, int position) {
    if (auto* slider = widgetAs<PanelSlider>(id)) {
        const QSignalBlocker blocker(slider);
        slider->setValue(position);
    }
}

void QtPanel::setSliderTickFrequency(int /*id*/, int /*frequency*/) {
    // The sliders mark their two ends only; a tick frequency adds no marks between them.
}

int QtPanel::sliderPosition(int id) const {
    const auto* slider = widgetAs<PanelSlider>(id);
    return slider != nullptr ? slider->value() : 0;
}

void QtPanel::setStaticText(int id, std::string_view text) {
    const BuiltControl* control = built(id);
    auto* label = control != nullptr ? qobject_cast<QLabel*>(control->widget) : nullptr;
    if (label == nullptr)
        return;
    label->setText(qText(text));
    fitCaption(*control);
}

std::string QtPanel::staticText(int id) const {
    if (const auto* label = widgetAs<QLabel>(id))
        return label->text().toStdString();
    if (const auto* button = widgetAs<QAbstractButton>(id))
        return button->text().toStdString();
    return {};
}

void QtPanel::messageBox(std::string_view text, std::string_view caption) {
    // The trace lines that lead to the box are on the terminal before it opens.
    if (handler_ != nullptr)
        handler_->beforeMessageBox();
    QMessageBox box(QMessageBox::NoIcon, qText(caption), qText(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtPanel::appendSystemMenuSeparator() {
    systemMenu_->addSeparator();
}

void QtPanel::appendSystemMenuItem(int commandId, std::string_view text) {
    QAction* action = systemMenu_->addAction(qText(text));
    action->setData(commandId);
    connect(action, &QAction::triggered, this, [this, commandId] {
        dispatch({PanelEventKind::SystemCommand, commandId});
    });
}

void QtPanel::setLargeIcon(int iconId) {
    const QIcon icon = windowIconFor(iconId);
    if (!icon.isNull())
        setWindowIcon(icon);
}

void QtPanel::setSmallIcon(int iconId) {
    // One window icon carries both sizes.
    setLargeIcon(iconId);
}

bool QtPanel::isMinimized() const {
    return QWidget::isMinimized();
}

PanelSize QtPanel::clientSize() const {
    return {width(), height()};
}

PanelSize QtPanel::iconSize() const {
    return {iconImage_.width(), iconImage_.height()};
}

void QtPanel::drawIcon(int iconId, int x, int y) {
    if (!painting_ || iconId != appIconId)
        return;
    QPainter painter(this);
    painter.drawImage(x, y, iconImage_);
}

void QtPanel::defaultProcessing(const PanelEvent& event) {
    // Painting and scrolling need nothing beyond what Qt does itself.
    if (event.kind != PanelEventKind::SystemCommand)
        return;
    switch (event.controlId & systemCommandMask) {
    case systemRestore:
        showNormal();
        break;
    case systemMove:
        if (QWindow* window = windowHandle())
            window->startSystemMove();
        break;
    case systemMinimize:
        showMinimized();
        break;
    case systemClose:
        dispatch({PanelEventKind::Clicked, cancelCommand});
        break;
    default:
        break;
    }
}

void QtPanel::runAboutBox() {
    AboutBox about(this);
    about.exec();
}

void QtPanel::setBusy(bool busy) {
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}

void QtPanel::endDialog(int result) {
    done(result);
}

int QtPanel::runModal() {
    return exec();
}

void QtPanel::accept() {
    dispatch({PanelEventKind::Clicked, okCommand});
}

void QtPanel::reject() {
    dispatch({PanelEventKind::Clicked, cancelCommand});
}

void QtPanel::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // Enter presses the push button that has the keyboard focus, as on any desktop, and is
        // command 1 anywhere else; it never closes the panel.
        event->accept();
        auto* button = qobject_cast<QPushButton*>(focusWidget());
        if (button != nullptr && button->isEnabled() && button->isVisible())
            button->click();
        else
            dispatch({PanelEventKind::Clicked, okCommand});
        return;
    }
    QDialog::keyPressEvent(event); // Escape arrives at reject()
}

void QtPanel::closeEvent(QCloseEvent* event) {
    dispatch({PanelEventKind::Clicked, cancelCommand});
    // The Exit handler ends the dialog, which hides it; a panel still shown stays open.
    if (isVisible())
        event->ignore();
    else
        event->accept();
}

void QtPanel::contextMenuEvent(QContextMenuEvent* event) {
    showSystemMenu(event->globalPos());
    event->accept();
}

void QtPanel::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!QWidget::isMinimized())
        return;
    // Minimised, the handler paints the icon itself.
    painting_ = true;
    dispatch({PanelEventKind::Paint});
    painting_ = false;
}

} // namespace orvane
