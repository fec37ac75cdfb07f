// libgstorvane: the plugin that brings the orvanesrc element and its device provider.
#include <gst/gst.h>

#include "orvane_device_provider.h"
#include "orvane_src.h"

namespace {

gboolean pluginInit(GstPlugin* plugin) {
    return gst_element_register(plugin, "orvanesrc", GST_RANK_NONE, GST_TYPE_ORVANE_SRC) &&
           gst_device_provider_register(plugin, "orvanedeviceprovider", GST_RANK_SECONDARY,
                                        GST_TYPE_ORVANE_DEVICE_PROVIDER);
}

} // namespace

#define PACKAGE "orvane"
GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, orvane,
                  "The Orvane camera module (OV7610 on the parallel port) as a video source",
                  pluginInit, ORVANE_VERSION_STRING, "MIT/X11", "Orvane", "https://orvane.org")
