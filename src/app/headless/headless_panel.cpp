// The in-memory panel.
#include "app/headless/headless_panel.h"

#include <algorithm>

#include "resources/about_line.h"
#include "resources/panel_templates.h"

namespace orvane {

HeadlessPanel::HeadlessPanel(const DialogTemplate& dialog) : dialog_(dialog) {
    for (const ControlTemplate& source : dialog.controls) {
        if (source.id == noControlId)
            continue;
        HeadlessControl control{&source, std::string(source.caption)};
        controls_.emplace(source.id, std::move(control));
    }
    // The usual window commands come first, as on any window's system menu.
    systemMenu_ = {{systemRestore, "&Restore"},
                   {systemMove, "&Move"},
                   {systemMinimize, "Mi&nimize"},
                   {systemMaximize, "Ma&ximize"},
                   {0, ""},
                   {systemClose, "&Close"}};
}

const HeadlessControl* HeadlessPanel::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

HeadlessControl* HeadlessPanel::find(int id, ControlKind kind) {
    const auto it = controls_.find(id);
    if (it == controls_.end() || it->second.source->kind != kind)
        return nullptr;
    return &it->second;
}

const HeadlessControl* HeadlessPanel::find(int id, ControlKind kind) const {
    const auto it = controls_.find(id);
    if (it == controls_.end() || it->second.source->kind != kind)
        return nullptr;
    return &it->second;
}

HeadlessControl* HeadlessPanel::findEnabled(int id, ControlKind kind) {
    HeadlessControl* control = find(id, kind);
    const uint32_t unusable = ControlStyle::hidden | ControlStyle::disabled;
    if (control == nullptr || (control->source->style & unusable) != 0)
        return nullptr;
    return control;
}

void HeadlessPanel::raise(const PanelEvent& event) {
    if (handler_ != nullptr)
        handler_->onPanelEvent(event);
}

void HeadlessPanel::setEditText(int id, std::string_view text) {
    HeadlessControl* edit = find(id, ControlKind::Edit);
    if (edit == nullptr)
        return;
    edit->text = text;
    raise({PanelEventKind::TextChanged, id});
}

std::string HeadlessPanel::editText(int id) const {
    const HeadlessControl* edit = find(id, ControlKind::Edit);
    return edit == nullptr ? std::string() : edit->text;
}

void HeadlessPanel::setChecked(int id, bool checked) {
    if (HeadlessControl* radio = find(id, ControlKind::RadioButton))
        radio->checked = checked;
}

bool HeadlessPanel::isChecked(int id) const {
    const HeadlessControl* radio = find(id, ControlKind::RadioButton);
    return radio != nullptr && radio->checked;
}

void HeadlessPanel::setSliderRange(int id, int minimum, int maximum) {
    if (HeadlessControl* slider = find(id, ControlKind::Slider)) {
        slider->minimum = minimum;
        slider->maximum = maximum;
        slider->position = std::clamp(slider->position, minimum, std::max(minimum, maximum));
    }
}

void HeadlessPanel::setSliderPosition(int id, int position) {
    if (HeadlessControl* slider = find(id, ControlKind::Slider))
        slider->position =
            std::clamp(position, slider->minimum, std::max(slider->minimum, slider->maximum));
}

void HeadlessPanel::setSliderTickFrequency(int id, int frequency) {
    if (HeadlessControl* slider = find(id, ControlKind::Slider))
        slider->tickFrequency = frequency;
}

int HeadlessPanel::sliderPosition(int id) const {
    const HeadlessControl* slider = find(id, ControlKind::Slider);
    return slider == nullptr ? 0 : slider->position;
}

void HeadlessPanel::setStaticText(int id, std::string_view text) {
    if (HeadlessControl* label = find(id, ControlKind::StaticText))
        label->text = text;
}

std::string HeadlessPanel::staticText(int id) const {
    const HeadlessControl* label = find(id, ControlKind::StaticText);
    return label == nullptr ? std::string() : label->text;
}

void HeadlessPanel::runAboutBox() {
    ++aboutBoxesShown_;
    if (!aboutObserver_)
        return;
    for (const ControlTemplate& control : aboutTemplate.controls) {
        if (control.kind == ControlKind::StaticText)
            aboutObserver_(aboutTemplate.title, aboutLine(control.caption));
    }
}

void HeadlessPanel::messageBox(std::string_view text, std::string_view caption) {
    // The trace lines that lead to the message come out before it.
    if (handler_ != nullptr)
        handler_->beforeMessageBox();
    messages_.push_back({std::string(caption), std::string(text)});
    if (messageObserver_)
        messageObserver_(messages_.back());
}

void HeadlessPanel::appendSystemMenuSeparator() {
    systemMenu_.push_back({0, ""});
}

void HeadlessPanel::appendSystemMenuItem(int commandId, std::string_view text) {
    systemMenu_.push_back({commandId, std::string(text)});
}

void HeadlessPanel::defaultProcessing(const PanelEvent& event) {
    if (event.kind != PanelEventKind::SystemCommand)
        return;
    switch (event.controlId & 0xFFF0) {
    case systemMinimize:
        minimized_ = true;
        break;
    case systemRestore:
        minimized_ = false;
        break;
    case systemClose:
        sendCommand(cancelCommand); // the window's Close arrives as command 2
        break;
    default:
        break;
    }
}

void HeadlessPanel::setBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0)
            ++busyScopes_;
    } else if (busyDepth_ > 0) {
        --busyDepth_;
    }
}

void HeadlessPanel::endDialog(int result) {
    ended_ = true;
    result_ = result;
}

bool HeadlessPanel::click(int id) {
    if (HeadlessControl* radio = findEnabled(id, ControlKind::RadioButton)) {
        radio->checked = true; // a click always leaves a radio button checked
        raise({PanelEventKind::Clicked, id});
        return true;
    }
    if (findEnabled(id, ControlKind::PushButton) != nullptr) {
        raise({PanelEventKind::Clicked, id});
        return true;
    }
    return false;
}

bool HeadlessPanel::typeText(int id, std::string_view text) {
    HeadlessControl* edit = findEnabled(id, ControlKind::Edit);
    if (edit == nullptr)
        return false;
    std::string typed;
    const bool digitsOnly = (edit->source->style & ControlStyle::digitsOnly) != 0;
    for (const char c : text) {
        if (!digitsOnly || (c >= '0' && c <= '9'))
            typed.push_back(c);
    }
    edit->text = typed;
    raise({PanelEventKind::TextChanged, id});
    return true;
}

bool HeadlessPanel::moveSlider(int id, int position) {
    HeadlessControl* slider = findEnabled(id, ControlKind::Slider);
    if (slider == nullptr)
        return false;
    slider->position =
        std::clamp(position, slider->minimum, std::max(slider->minimum, slider->maximum));
    raise({PanelEventKind::HorizontalScroll, id, ScrollCode::ThumbTrack, slider->position});
    raise({PanelEventKind::HorizontalScroll, id, ScrollCode::EndScroll, slider->position});
    return true;
}

void HeadlessPanel::sendCommand(int commandId) {
    raise({PanelEventKind::Clicked, commandId});
}

void HeadlessPanel::chooseSystemCommand(int commandId) {
    raise({PanelEventKind::SystemCommand, commandId});
}

void HeadlessPanel::paint() {
    raise({PanelEventKind::Paint, 0});
}

} // namespace orvane
