// orvane::Status: the one answer of every call of the library that can fail. A code a program
// can act on, and the text an operator reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "orvane/export.h"

namespace orvane {

enum class StatusCode : uint8_t {
    Ok,
    UnknownControl,  // no control has that name
    OutOfRange,      // a value outside the control's range; the text names the range
    Refused,         // the camera's rules refuse the change; the text says why
    InvalidArgument, // a register number or value outside 0 to 255, a format the mode lacks
    PortError,       // the port cannot be opened; the text says what to do
    DoesNotFit,      // the frame does not fit the frame buffers or the caller's memory
    NoMemory,        // the frame buffers cannot be allocated
    FileError,       // a file cannot be created or written; the text names it and says why
    NotPermitted,    // root cannot be given up, the system refuses what was asked, or a call is
                     // made where it may not be (from a CaptureProgress)
    NoSignal,        // the frame read is no picture (every byte one value, or its end all 0xFF):
                     // the text says what was seen and what to check; the bytes were still written
};

class ORVANE_API Status {
public:
    // Success.
    Status() = default;
    Status(StatusCode code, std::string message) : code_(code), message_(std::move(message)) {}

    bool ok() const noexcept { return code_ == StatusCode::Ok; }
    explicit operator bool() const noexcept { return ok(); }
    StatusCode code() const noexcept { return code_; }
    // Empty on success.
    const std::string& message() const noexcept { return message_; }

private:
    StatusCode code_ = StatusCode::Ok;
    std::string message_;
};

// "ok", "unknown control", "out of range", ...
ORVANE_API std::string_view statusCodeName(StatusCode code);

} // namespace orvane
