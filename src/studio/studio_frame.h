// StudioFrame: one captured frame as the worker hands it to the window.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QMetaType>

#include <orvane/frame.h>

#include "frame_histogram.h"
#include <orvane/profile.h>

namespace orvane {

struct StudioFrame {
    quint64 number = 0; // frames captured before this one, plus one
    QImage image;       // RGB32, written by the capture itself
    // A frame still arriving carries only its first rows in image, of this many; 0: complete.
    int arrivingOf = 0;
    bool complete() const { return arrivingOf == 0; }
    QByteArray raw; // the bytes read from the port
    FrameInfo info; // of the image; its mosaic and port geometry describe raw
    FrameHistogram histogram;
    double portMilliseconds = 0;
    double conversionMilliseconds = 0;
};

} // namespace orvane

Q_DECLARE_METATYPE(orvane::StudioFrame)
