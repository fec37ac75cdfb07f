// QtPanel: the Panel realised as a Qt dialog built from a dialog template.
#pragma once

#include <cstddef>
#include <vector>

#include <QDialog>
#include <QImage>

#include "app/qt/dialog_builder.h"
#include "resources/panel_templates.h"
#include "toolkit/panel.h"

class QMenu;

namespace orvane {

// A modal Qt dialog that raises the panel's events with the panel's timing: the program's edit
// writes raise TextChanged before they return, its slider and radio button writes raise nothing,
// Enter is command 1 and never closes, Escape and Close are command 2 and close only when the
// handler ends the dialog. It carries a system menu of its own (right click, Alt+Space).
class QtPanel final : public QDialog, public Panel {
    Q_OBJECT
public:
    explicit QtPanel(const DialogTemplate& dialogTemplate = controlPanelTemplate,
                     QWidget* parent = nullptr);
    ~QtPanel() override;

    void setEventHandler(PanelEventHandler* handler) override { handler_ = handler; }

    void setEditText(int id, std::string_view text) override;
    std::string editText(int id) const override;

    void setChecked(int id, bool checked) override;
    bool isChecked(int id) const override;

    void setSliderRange(int id, int minimum, int maximum) override;
    void setSliderPosition(int id, int position) override;
    void setSliderTickFrequency(int id, int frequency) override;
    int sliderPosition(int id) const override;

    void setStaticText(int id, std::string_view text) override;
    std::string staticText(int id) const override;

    void messageBox(std::string_view text, std::string_view caption) override;

    bool hasSystemMenu() const override { return true; }
    void appendSystemMenuSeparator() override;
    void appendSystemMenuItem(int commandId, std::string_view text) override;
    void setLargeIcon(int iconId) override;
    void setSmallIcon(int iconId) override;
    bool isMinimized() const override;
    PanelSize clientSize() const override;
    PanelSize iconSize() const override;
    void drawIcon(int iconId, int x, int y) override;
    void defaultProcessing(const PanelEvent& event) override;
    void runAboutBox() override;

    void setBusy(bool busy) override;

    void endDialog(int result) override;

    // Shows the panel and runs it until endDialog; returns the result.
    int runModal();

    // The widget of the control with the ID, or nullptr.
    QWidget* controlWidget(int id) const;
    // The widget of the control at the index in template order, or nullptr.
    QWidget* controlWidgetAt(std::size_t index) const;
    std::size_t controlCount() const { return controls_.size(); }

    // The panel's system menu; opening it at a point on the screen.
    QMenu* systemMenu() const { return systemMenu_; }
    void showSystemMenu(const QPoint& globalPosition);

public slots:
    // Command 1 and command 2; neither closes the panel by itself.
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void dispatch(const PanelEvent& event);
    void connectControls();
    void buildSystemMenu();
    void updateSystemMenu();
    const BuiltControl* built(int id) const;
    template <typename Widget> Widget* widgetAs(int id) const;

    std::vector<BuiltControl> controls_;
    PanelEventHandler* handler_ = nullptr;
    QMenu* systemMenu_ = nullptr;
    QImage iconImage_;
    int busyDepth_ = 0;
    bool painting_ = false;
};

} // namespace orvane
