// The events a panel raises for the dialog's command table.
#pragma once

#include <cstdint>

namespace orvane {

enum class PanelEventKind : uint8_t {
    Clicked,          // a push or radio button was clicked, or a command was sent by ID
    TextChanged,      // an edit's text changed, by typing or by the program
    TextAboutToShow,  // an edit is about to show its text
    HorizontalScroll, // a slider was moved by the user, or a drag ended
    SystemCommand,    // a system-menu command
    Paint,            // the window needs painting
    DragIconQuery,    // the window asks for the image to show while dragged minimised
};

// Scroll codes a slider reports.
enum class ScrollCode : uint8_t {
    LineLeft,
    LineRight,
    PageLeft,
    PageRight,
    ThumbTrack,
    ThumbPosition,
    Left,
    Right,
    EndScroll,
};

struct PanelEvent {
    PanelEventKind kind;
    int controlId = 0; // the control, or the command ID for Clicked and SystemCommand
    ScrollCode scrollCode = ScrollCode::EndScroll;
    int position = 0;
};

class PanelEventHandler {
public:
    virtual ~PanelEventHandler() = default;
    virtual void onPanelEvent(const PanelEvent& event) = 0;
    // Called by the panel just before it shows a message box: what the handler has held back
    // (the trace) goes out first.
    virtual void beforeMessageBox() {}
};

// Command IDs with a meaning of their own.
constexpr int okCommand = 1;     // "&Set Register", and the Enter key
constexpr int cancelCommand = 2; // "E&xit", Escape and the window's Close command
constexpr int aboutCommand = 0x10;

// The usual window commands of the system menu.
constexpr int systemMove = 0xF010;
constexpr int systemMinimize = 0xF020;
constexpr int systemMaximize = 0xF030;
constexpr int systemClose = 0xF060;
constexpr int systemRestore = 0xF120;

} // namespace orvane
