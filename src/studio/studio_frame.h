// StudioFrame: one converted frame as the worker hands it to the window.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "image/frame_geometry.h"
#include "studio/frame_histogram.h"
#include "studio/studio_session.h"

namespace orvane {

struct StudioFrame {
    quint64 number = 0; // frames captured before this one, plus one
    QImage image;       // RGB32
    QByteArray raw;     // the bytes read from the port
    FrameGeometry geometry;
    uint8_t dataFormat = 0;
    FrameHistogram histogram;
    double portMilliseconds = 0;
    double conversionMilliseconds = 0;
};

} // namespace orvane

Q_DECLARE_METATYPE(orvane::StudioFrame)
Q_DECLARE_METATYPE(orvane::ControlValues)
