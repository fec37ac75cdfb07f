// Panel: the toolkit operations the dialog's handlers use, by control ID. The Qt panel and the
// headless panel realise the same template and raise the same events with the same timing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/panel_event.h"

namespace orvane {

struct PanelSize {
    int width;
    int height;
};

class Panel {
public:
    virtual ~Panel() = default;

    // Where the panel's events go; null stops them.
    virtual void setEventHandler(PanelEventHandler* handler) = 0;

    // Edits. Writing the text raises the edit's TextChanged event before the call returns,
    // exactly as typing does, also when the text is unchanged.
    virtual void setEditText(int id, std::string_view text) = 0;
    virtual std::string editText(int id) const = 0;

    // Radio buttons. Setting the check raises nothing.
    virtual void setChecked(int id, bool checked) = 0;
    virtual bool isChecked(int id) const = 0;

    // Sliders. Setting range or position raises nothing.
    virtual void setSliderRange(int id, int minimum, int maximum) = 0;
    virtual void setSliderPosition(int id, int position) = 0;
    virtual void setSliderTickFrequency(int id, int frequency) = 0;
    virtual int sliderPosition(int id) const = 0;

    // Static texts.
    virtual void setStaticText(int id, std::string_view text) = 0;
    virtual std::string staticText(int id) const = 0;

    // A modal box with one OK button; returns when the operator has closed it.
    virtual void messageBox(std::string_view text, std::string_view caption) = 0;

    // Window.
    virtual bool hasSystemMenu() const = 0;
    virtual void appendSystemMenuSeparator() = 0;
    virtual void appendSystemMenuItem(int commandId, std::string_view text) = 0;
    virtual void setLargeIcon(int iconId) = 0;
    virtual void setSmallIcon(int iconId) = 0;
    virtual bool isMinimized() const = 0;
    virtual PanelSize clientSize() const = 0;
    virtual PanelSize iconSize() const = 0;
    virtual void drawIcon(int iconId, int x, int y) = 0;
    virtual void defaultProcessing(const PanelEvent& event) = 0; // minimise, move, close, paint
    virtual void runAboutBox() = 0;

    // Shows a busy cursor while the port is driven.
    virtual void setBusy(bool busy) = 0;

    // Ends the modal run with the result.
    virtual void endDialog(int result) = 0;
};

// Shows the busy cursor for the lifetime of the scope.
class BusyScope {
public:
    explicit BusyScope(Panel& panel) : panel_(panel) { panel_.setBusy(true); }
    ~BusyScope() { panel_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Panel& panel_;
};

} // namespace orvane
