// orvanesrc: the camera module as a live GStreamer source. It opens an orvane::Camera when the
// pipeline starts, applies control changes made while playing before the next capture, and fills
// each buffer in place with the Camera's strided capture.
#pragma once

#include <gst/base/gstpushsrc.h>

G_BEGIN_DECLS

#define GST_TYPE_ORVANE_SRC (gst_orvane_src_get_type())
G_DECLARE_FINAL_TYPE(GstOrvaneSrc, gst_orvane_src, GST, ORVANE_SRC, GstPushSrc)

G_END_DECLS
