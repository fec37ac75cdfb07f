// Names of the status codes.
#include "orvane/status.h"

namespace orvane {

std::string_view statusCodeName(StatusCode code) {
    switch (code) {
    case StatusCode::Ok:
        return "ok";
    case StatusCode::UnknownControl:
        return "unknown control";
    case StatusCode::OutOfRange:
        return "out of range";
    case StatusCode::Refused:
        return "refused";
    case StatusCode::InvalidArgument:
        return "invalid argument";
    case StatusCode::PortError:
        return "port error";
    case StatusCode::DoesNotFit:
        return "does not fit";
    case StatusCode::NoMemory:
        return "no memory";
    case StatusCode::FileError:
        return "file error";
    case StatusCode::NotPermitted:
        return "not permitted";
    case StatusCode::NoSignal:
        return "no signal";
    }
    return "unknown status";
}

} // namespace orvane
