// HeadlessPanel: an in-memory realisation of a dialog template, for tests and the scripted front
// end. It keeps every control's state, raises the same events with the same timing as the Qt
// panel, and records message boxes and window requests instead of showing them.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "resources/dialog_template.h"
#include "toolkit/panel.h"

namespace orvane {

struct HeadlessControl {
    const ControlTemplate* source;
    std::string text; // edit text, static text or caption
    bool checked = false;
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    int tickFrequency = 1;
};

struct RecordedMessage {
    std::string caption;
    std::string text;
    friend bool operator==(const RecordedMessage&, const RecordedMessage&) = default;
};

struct DrawnIcon {
    int iconId;
    int x;
    int y;
    friend bool operator==(const DrawnIcon&, const DrawnIcon&) = default;
};

class HeadlessPanel final : public Panel {
public:
    explicit HeadlessPanel(const DialogTemplate& dialog);

    // Panel operations used by the program.
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
    void setLargeIcon(int iconId) override { largeIcon_ = iconId; }
    void setSmallIcon(int iconId) override { smallIcon_ = iconId; }
    bool isMinimized() const override { return minimized_; }
    PanelSize clientSize() const override { return clientSize_; }
    PanelSize iconSize() const override { return {32, 32}; }
    void drawIcon(int iconId, int x, int y) override { drawnIcons_.push_back({iconId, x, y}); }
    void defaultProcessing(const PanelEvent& event) override;
    void runAboutBox() override;
    void setBusy(bool busy) override;
    void endDialog(int result) override;

    // What an operator does. Each returns false when the control cannot take the action
    // (unknown, hidden, disabled or of another kind) and then raises nothing.
    bool click(int id);
    bool typeText(int id, std::string_view text); // replaces the text, as select-all and type
    bool moveSlider(int id, int position);        // a drag step, then the end of the drag
    void sendCommand(int commandId);              // a command by ID, without a control
    void pressEnter() { sendCommand(okCommand); }
    void pressEscape() { sendCommand(cancelCommand); }
    void closeWindow() { chooseSystemCommand(systemClose); }
    void chooseSystemCommand(int commandId);
    void paint();
    void setMinimized(bool minimized) { minimized_ = minimized; }
    void setClientSize(PanelSize size) { clientSize_ = size; }

    // What the program did.
    const DialogTemplate& dialogTemplate() const { return dialog_; }
    const HeadlessControl* control(int id) const;
    const std::vector<RecordedMessage>& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }
    // Called for each message box as it is shown, before it is answered with OK.
    void onMessage(std::function<void(const RecordedMessage&)> observer) {
        messageObserver_ = std::move(observer);
    }
    // Called with the About box's title and line as it is shown, before it is answered with OK.
    void onAboutBox(std::function<void(std::string_view, std::string_view)> observer) {
        aboutObserver_ = std::move(observer);
    }
    struct MenuItem {
        int commandId; // 0 for a separator
        std::string text;
    };
    const std::vector<MenuItem>& systemMenu() const { return systemMenu_; }
    int largeIcon() const { return largeIcon_; }
    int smallIcon() const { return smallIcon_; }
    const std::vector<DrawnIcon>& drawnIcons() const { return drawnIcons_; }
    int aboutBoxesShown() const { return aboutBoxesShown_; }
    bool busy() const { return busyDepth_ > 0; }
    int busyScopes() const { return busyScopes_; }
    bool ended() const { return ended_; }
    int result() const { return result_; }

private:
    HeadlessControl* find(int id, ControlKind kind);
    const HeadlessControl* find(int id, ControlKind kind) const;
    HeadlessControl* findEnabled(int id, ControlKind kind);
    void raise(const PanelEvent& event);

    const DialogTemplate& dialog_;
    std::map<int, HeadlessControl> controls_;
    PanelEventHandler* handler_ = nullptr;
    std::vector<RecordedMessage> messages_;
    std::function<void(const RecordedMessage&)> messageObserver_;
    std::function<void(std::string_view, std::string_view)> aboutObserver_;
    std::vector<MenuItem> systemMenu_;
    std::vector<DrawnIcon> drawnIcons_;
    PanelSize clientSize_{596, 382};
    int largeIcon_ = 0;
    int smallIcon_ = 0;
    int aboutBoxesShown_ = 0;
    int busyDepth_ = 0;
    int busyScopes_ = 0;
    bool minimized_ = false;
    bool ended_ = false;
    int result_ = 0;
};

} // namespace orvane
