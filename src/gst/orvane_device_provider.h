// The Orvane device provider: lists the simulated module and each parallel-port device, so
// device monitors show the camera with the caps it offers and make orvanesrc for it.
#pragma once

#include <gst/gst.h>

G_BEGIN_DECLS

#define GST_TYPE_ORVANE_DEVICE_PROVIDER (gst_orvane_device_provider_get_type())
G_DECLARE_FINAL_TYPE(GstOrvaneDeviceProvider, gst_orvane_device_provider, GST,
                     ORVANE_DEVICE_PROVIDER, GstDeviceProvider)

#define GST_TYPE_ORVANE_DEVICE (gst_orvane_device_get_type())
G_DECLARE_FINAL_TYPE(GstOrvaneDevice, gst_orvane_device, GST, ORVANE_DEVICE, GstDevice)

G_END_DECLS
