// The control panel's command table, initialisation and the handlers of its own controls.
#include "app/control_panel_dialog.h"

#include <optional>

#include "app/panel_reset.h"
#include "app/panel_selectors.h"
#include "app/panel_settings.h"
#include "app/panel_sliders.h"
#include "app/panel_upload.h"
#include "app/window_edits.h"
#include "image/image_files.h"
#include "resources/control_ids.h"
#include "resources/panel_templates.h"
#include "sensor/control_table.h"
#include "toolkit/panel_numbers.h"

namespace orvane {
namespace {

using K = PanelEventKind;

// The selector a radio button or command runs, from the control table's choices; none for
// another control.
std::optional<Selector> selectorOf(int controlId) {
    for (const ControlRow& row : controlTable) {
        for (const ChoiceBinding& binding : row.bindings) {
            if (binding.dialogControl != 0 && binding.dialogControl == controlId)
                return binding.selector;
        }
    }
    return std::nullopt;
}

// The register an edit's text stands for: any change marks it pending. The control table's
// Integer rows shown by an edit of the template.
std::optional<uint8_t> registerOfEdit(int controlId) {
    const ControlRow* row = controlRowOfDialogControl(controlId);
    const ControlTemplate* edit = findControl(controlPanelTemplate, controlId);
    if (row == nullptr || edit == nullptr || edit->kind != ControlKind::Edit)
        return std::nullopt;
    return row->info.registers[0].address;
}

constexpr int32_t exchangeMinimum = 0;
constexpr int32_t exchangeMaximum = 64;
constexpr const char* saveAsDefaultName = "filename.BMP";

} // namespace

// Looked up in this order; the first row whose event and control match runs.
const std::array<ControlPanelDialog::CommandRow, 31> ControlPanelDialog::commandTable{{
    {K::SystemCommand, anyControl, &ControlPanelDialog::onSystemCommand},
    {K::Paint, anyControl, &ControlPanelDialog::onPaint},
    {K::DragIconQuery, anyControl, &ControlPanelDialog::onQueryDragIcon},
    {K::Clicked, ControlId::mirrorDisable, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::mirrorEnable, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::cif, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::qcif, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::yuv, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::resetButton, &ControlPanelDialog::onReset},
    {K::Clicked, ControlId::rgb, &ControlPanelDialog::onSelector},
    {K::TextChanged, ControlId::hiddenEdit, &ControlPanelDialog::onNothing},
    {K::TextChanged, ControlId::clockPrescaler, &ControlPanelDialog::onRegisterEditChanged},
    {K::TextAboutToShow, ControlId::clockPrescaler, &ControlPanelDialog::onNothing},
    {K::HorizontalScroll, anyControl, &ControlPanelDialog::onSliderScroll},
    {K::TextChanged, ControlId::userRegisterNumber, &ControlPanelDialog::onUserRegisterChanged},
    {K::TextChanged, ControlId::userRegisterValue, &ControlPanelDialog::onUserRegisterChanged},
    {K::Clicked, ControlId::uploadButton, &ControlPanelDialog::onUpload},
    {K::TextChanged, ControlId::windowHStart, &ControlPanelDialog::onRegisterEditChanged},
    {K::TextChanged, ControlId::windowHEnd, &ControlPanelDialog::onRegisterEditChanged},
    {K::TextChanged, ControlId::windowVStart, &ControlPanelDialog::onRegisterEditChanged},
    {K::TextChanged, ControlId::windowVEnd, &ControlPanelDialog::onRegisterEditChanged},
    {K::Clicked, ControlId::sixteenBits, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::eightBits, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::saveAsButton, &ControlPanelDialog::onSaveAs},
    {K::Clicked, ControlId::autoEnable, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::autoDisable, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::redIncrease, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::redDecrease, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::gain2x, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::gainNormal, &ControlPanelDialog::onSelector},
    {K::Clicked, ControlId::exitButton, &ControlPanelDialog::onExit},
}};

ControlPanelDialog::ControlPanelDialog(Panel& panel, PortIo& port, TraceSink& trace,
                                       TickCounter& ticks, ViewerLauncher& viewer,
                                       std::filesystem::path workDirectory)
    : panel_(panel), state_(port, trace, ticks, viewer, std::move(workDirectory)) {
    panel_.setEventHandler(this);
}

ControlPanelDialog::~ControlPanelDialog() {
    panel_.setEventHandler(nullptr);
}

bool ControlPanelDialog::initialize() {
    exchangeData(true);

    if (panel_.hasSystemMenu()) {
        const std::string_view aboutText = loadString(aboutMenuStringId);
        if (!aboutText.empty()) {
            panel_.appendSystemMenuSeparator();
            panel_.appendSystemMenuItem(aboutCommand, aboutText);
        }
    }
    panel_.setLargeIcon(appIconId);
    panel_.setSmallIcon(appIconId);

    // The buffers come before the port set-up so that a failure leaves the port untouched.
    if (!state_.device.open())
        return false;

    const RegisterShadow& shadow = state_.device.shadow;
    for (const SliderRow& row : sliderRows) {
        if (row.sliderId == ControlId::redBiasSlider)
            panel_.setChecked(ControlId::autoEnable, true);
        const uint8_t position = shadow.reg(row.subAddress).defaultValue;
        panel_.setSliderRange(row.sliderId, 0, sliderMaximum(row));
        panel_.setSliderPosition(row.sliderId, position);
        if (row.tickFrequency != 0)
            panel_.setSliderTickFrequency(row.sliderId, row.tickFrequency);
        if (row.labelAtSetUp)
            setStaticUnsigned(panel_, row.labelId, position);
    }

    writeWindowPreset(panel_, yuvCifPreset);

    for (const SliderRow& row : sliderRows) {
        if (!row.labelAtSetUp)
            setStaticUnsigned(panel_, row.labelId, shadow.reg(row.subAddress).defaultValue);
    }

    for (const int id : {ControlId::yuv, ControlId::eightBits, ControlId::cif,
                         ControlId::mirrorDisable, ControlId::gainNormal})
        panel_.setChecked(id, true);

    setEditUnsigned(panel_, ControlId::userRegisterNumber, 0);
    setEditUnsigned(panel_, ControlId::userRegisterValue, 0);
    setEditSigned(panel_, ControlId::clockPrescaler, shadow.reg(0x11).defaultValue);
    panel_.setEditText(ControlId::saveAsName, saveAsDefaultName);
    return true;
}

void ControlPanelDialog::onPanelEvent(const PanelEvent& event) {
    // Exit has freed the buffers; nothing may run after it.
    if (exited_)
        return;
    dispatch(event);
    // Whatever the handler traced is on its way before the next event.
    state_.device.bus.trace.flush();
}

void ControlPanelDialog::beforeMessageBox() {
    state_.device.bus.trace.flush();
}

void ControlPanelDialog::dispatch(const PanelEvent& event) {
    for (const CommandRow& row : commandTable) {
        if (row.kind == event.kind &&
            (row.controlId == anyControl || row.controlId == event.controlId)) {
            (this->*row.handler)(event);
            return;
        }
    }
    // Behind the panel's own table: command 1 is the dialog's OK operation.
    if (event.kind == K::Clicked && event.controlId == okCommand)
        onOk();
}

bool ControlPanelDialog::exchangeData(bool toControls) {
    if (toControls) {
        setEditSigned(panel_, ControlId::hiddenEdit, hiddenEditValue_);
        setEditSigned(panel_, ControlId::clockPrescaler, prescalerEditValue_);
        return true;
    }
    const auto hidden = parseDecimal(panel_.editText(ControlId::hiddenEdit));
    const auto prescaler = parseDecimal(panel_.editText(ControlId::clockPrescaler));
    const auto inRange = [](const std::optional<int32_t>& value) {
        return value && *value >= exchangeMinimum && *value <= exchangeMaximum;
    };
    if (!inRange(hidden) || !inRange(prescaler))
        return false;
    hiddenEditValue_ = *hidden;
    prescalerEditValue_ = *prescaler;
    return true;
}

int ControlPanelDialog::queryDragIcon() const {
    return appIconId;
}

void ControlPanelDialog::onSystemCommand(const PanelEvent& event) {
    if ((event.controlId & 0xFFF0) == aboutCommand) {
        panel_.runAboutBox();
        return;
    }
    panel_.defaultProcessing(event);
}

void ControlPanelDialog::onPaint(const PanelEvent& event) {
    if (!panel_.isMinimized()) {
        panel_.defaultProcessing(event);
        return;
    }
    const PanelSize client = panel_.clientSize();
    const PanelSize icon = panel_.iconSize();
    panel_.drawIcon(appIconId, (client.width - icon.width + 1) / 2,
                    (client.height - icon.height + 1) / 2);
}

void ControlPanelDialog::onQueryDragIcon(const PanelEvent&) {
    (void)queryDragIcon();
}

void ControlPanelDialog::onSelector(const PanelEvent& event) {
    if (const std::optional<Selector> selector = selectorOf(event.controlId))
        runSelector(*selector, state_.device, panel_);
}

void ControlPanelDialog::onReset(const PanelEvent&) {
    resetCamera(state_.device, state_.sliders, panel_);
}

// A frame read from nothing is said in one line on the notes; the panel shows it as any other.
void ControlPanelDialog::onUpload(const PanelEvent&) {
    state_.frameSignal = uploadFrame(state_.device, state_.viewer, state_.workDirectory, panel_);
    ++state_.uploads;
    if (!state_.frameSignal && state_.notes != nullptr)
        *state_.notes << "orvane: no signal: " << state_.frameSignal.message() << '\n';
}

void ControlPanelDialog::onSaveAs(const PanelEvent&) {
    const FileResult result =
        saveBmpAs(state_.workDirectory, panel_.editText(ControlId::saveAsName));
    if (const auto message = fileMessage(result))
        panel_.messageBox(message->text, message->caption);
    if (result == FileResult::saved)
        panel_.setEditText(ControlId::saveAsName, saveAsDefaultName);
}

void ControlPanelDialog::onExit(const PanelEvent&) {
    exited_ = true;
    state_.device.close();
    panel_.endDialog(cancelCommand);
}

void ControlPanelDialog::onNothing(const PanelEvent&) {}

void ControlPanelDialog::onRegisterEditChanged(const PanelEvent& event) {
    if (const std::optional<uint8_t> subAddress = registerOfEdit(event.controlId))
        state_.device.shadow.reg(*subAddress).pending = 1;
}

void ControlPanelDialog::onUserRegisterChanged(const PanelEvent&) {
    state_.device.shadow.mode.userRegisterPending = 1;
}

// Every scroll event looks at all six sliders, so one event also catches any other slider whose
// position no longer matches its copy.
void ControlPanelDialog::onSliderScroll(const PanelEvent& event) {
    RegisterShadow& shadow = state_.device.shadow;
    const uint8_t offset = shadow.mode.redBackgroundOffset;
    for (const SliderRow& row : sliderRows) {
        const int extra = row.redBackground ? offset : 0;
        uint8_t& shown = state_.sliders.*row.shown;
        if (panel_.sliderPosition(row.sliderId) + extra == shown)
            continue;
        shown = static_cast<uint8_t>(panel_.sliderPosition(row.sliderId) + extra);
        shadow.reg(row.subAddress).pending = 1;
        setStaticUnsigned(panel_, row.labelId, static_cast<uint32_t>(shown - extra));
    }
    panel_.defaultProcessing(event);
}

void ControlPanelDialog::onOk() {
    applySettings(state_.device, panel_);
}

} // namespace orvane
