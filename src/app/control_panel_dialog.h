// ControlPanelDialog: the control panel's logic. It fills the panel's controls at start, routes
// every panel event through its command table, and owns the program-wide state.
#pragma once

#include <array>
#include <filesystem>

#include "app/program_state.h"
#include "toolkit/panel.h"

namespace orvane {

class ControlPanelDialog final : public PanelEventHandler {
public:
    ControlPanelDialog(Panel& panel, PortIo& port, TraceSink& trace, TickCounter& ticks,
                       ViewerLauncher& viewer, std::filesystem::path workDirectory);
    ~ControlPanelDialog() override;
    ControlPanelDialog(const ControlPanelDialog&) = delete;
    ControlPanelDialog& operator=(const ControlPanelDialog&) = delete;

    // The panel's initialisation, once, before it is shown: system menu, icons, buffers, port
    // set-up, sliders, edits, labels, radio buttons. False when the buffers cannot be allocated;
    // the port is then untouched.
    bool initialize();

    void onPanelEvent(const PanelEvent& event) override;
    // The trace so far is delivered before the box opens.
    void beforeMessageBox() override;

    // Data exchange of the two integer members with edits 1027 and 1028. Towards the members
    // the numbers must lie in 0 to 64; false (members unchanged) otherwise.
    bool exchangeData(bool toControls);

    // The image shown while the minimised panel is dragged.
    int queryDragIcon() const;

    ProgramState& state() { return state_; }
    const ProgramState& state() const { return state_; }
    Panel& panel() { return panel_; }

private:
    using Handler = void (ControlPanelDialog::*)(const PanelEvent&);
    struct CommandRow {
        PanelEventKind kind;
        int controlId; // anyControl matches every control
        Handler handler;
    };
    static constexpr int anyControl = -2;
    static const std::array<CommandRow, 31> commandTable;

    void onSystemCommand(const PanelEvent& event);
    void onPaint(const PanelEvent& event);
    void onQueryDragIcon(const PanelEvent& event);
    void onSelector(const PanelEvent& event);
    void onReset(const PanelEvent& event);
    void onUpload(const PanelEvent& event);
    void onSaveAs(const PanelEvent& event);
    void onExit(const PanelEvent& event);
    void onNothing(const PanelEvent& event);
    void onRegisterEditChanged(const PanelEvent& event);
    void onUserRegisterChanged(const PanelEvent& event);
    void onSliderScroll(const PanelEvent& event);
    void dispatch(const PanelEvent& event);
    void onOk();

    Panel& panel_;
    ProgramState state_;
    int hiddenEditValue_ = 0;
    int prescalerEditValue_ = 0;
    bool exited_ = false;
};

} // namespace orvane
