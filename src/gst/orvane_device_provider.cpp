// Devices for GstDeviceMonitor: the simulated module and /dev/parport*.
#include "orvane_device_provider.h"

#include <orvane/camera.h>
#include <orvane/probe.h>

#include <string>

#include "parallel_ports.h"

struct _GstOrvaneDeviceProvider {
    GstDeviceProvider parent;
};

struct _GstOrvaneDevice {
    GstDevice parent;
    gchar* portName; // what orvanesrc's device property takes
};

G_DEFINE_TYPE(GstOrvaneDeviceProvider, gst_orvane_device_provider, GST_TYPE_DEVICE_PROVIDER)
G_DEFINE_TYPE(GstOrvaneDevice, gst_orvane_device, GST_TYPE_DEVICE)

namespace {

// Every frame the element can give: each format at each size, as RGB and as the format's own
// bytes (4:2:2, or the colour mosaic as gbrg Bayer). The shapes come from the camera's rules,
// the same on every port, so a real port is never opened to look (that would drive it).
GstCaps* offeredCaps() {
    GstCaps* caps = gst_caps_new_empty();
    orvane::Status status;
    const std::unique_ptr<orvane::Camera> camera = orvane::Camera::open("sim", status);
    if (camera == nullptr)
        return caps;
    const orvane::ControlInfo* size = orvane::findControl("size");
    for (const int32_t format : {0, 1}) {
        for (const orvane::ControlChoice& choice : size->choices) {
            const orvane::ControlSetting settings[] = {{"format", format},
                                                       {size->name, choice.value}};
            orvane::FrameLayout layout;
            // A size that cannot be chosen is the one the format brings.
            if (!camera->layoutWith(std::span(settings, choice.selectable ? 2 : 1),
                                    orvane::PixelFormat::Rgb24, layout))
                continue;
            const auto add = [&](const char* name, const char* pixels) {
                caps = gst_caps_merge_structure(
                    caps,
                    gst_structure_new(name, "format", G_TYPE_STRING, pixels, "width", G_TYPE_INT,
                                      gint(layout.width), "height", G_TYPE_INT, gint(layout.height),
                                      "framerate", GST_TYPE_FRACTION, 0, 1, nullptr));
            };
            add("video/x-raw", "RGB");
            if (format == 0)
                add("video/x-raw", "VYUY");
            else
                add("video/x-bayer", "gbrg");
        }
    }
    return caps;
}

// What the probe's checks that drive nothing find wrong with a port, as "check: text"; empty
// when they pass (the simulated module has none).
std::string probeFailure(const std::string& portName) {
    for (const orvane::ProbeCheck& check : orvane::probe(portName, {.driving = false})) {
        if (check.result == orvane::ProbeResult::Failed)
            return check.check + ": " + check.text;
    }
    return "";
}

// A port the probe finds wrong is listed all the same, marked: its display name says which
// check failed and orvane.probe holds the whole line (what to do).
GstDevice* deviceFor(const std::string& portName, std::string name) {
    GstCaps* caps = offeredCaps();
    const std::string failure = probeFailure(portName);
    if (!failure.empty())
        name += " (" + failure.substr(0, failure.find(':')) + " check failed)";
    GstStructure* properties =
        gst_structure_new("orvane-device", "device.api", G_TYPE_STRING, "orvane", "device.path",
                          G_TYPE_STRING, portName.c_str(), "orvane.probe", G_TYPE_STRING,
                          failure.empty() ? "passed" : failure.c_str(), nullptr);
    auto* device = static_cast<GstOrvaneDevice*>(
        g_object_new(GST_TYPE_ORVANE_DEVICE, "display-name", name.c_str(), "caps", caps,
                     "device-class", "Video/Source", "properties", properties, nullptr));
    device->portName = g_strdup(portName.c_str());
    gst_caps_unref(caps);
    gst_structure_free(properties);
    return GST_DEVICE(device);
}

GList* probe(GstDeviceProvider*) {
    GList* devices = nullptr;
    devices = g_list_append(devices, deviceFor("sim", "Orvane simulated camera module"));
    for (const std::string& port : orvane::parallelPortPaths("/dev"))
        devices =
            g_list_append(devices, deviceFor("ppdev:" + port, "Orvane camera module on " + port));
    return devices;
}

GstElement* createElement(GstDevice* device, const gchar* name) {
    GstElement* element = gst_element_factory_make("orvanesrc", name);
    if (element != nullptr)
        g_object_set(element, "device", GST_ORVANE_DEVICE(device)->portName, nullptr);
    return element;
}

void finalizeDevice(GObject* object) {
    g_free(GST_ORVANE_DEVICE(object)->portName);
    G_OBJECT_CLASS(gst_orvane_device_parent_class)->finalize(object);
}

} // namespace

static void gst_orvane_device_provider_class_init(GstOrvaneDeviceProviderClass* klass) {
    auto* providerClass = GST_DEVICE_PROVIDER_CLASS(klass);
    providerClass->probe = probe;
    gst_device_provider_class_set_static_metadata(
        providerClass, "Orvane camera module device provider", "Source/Video",
        "Lists the simulated Orvane camera module and the parallel-port devices",
        "The Orvane authors");
}

static void gst_orvane_device_provider_init(GstOrvaneDeviceProvider*) {}

static void gst_orvane_device_class_init(GstOrvaneDeviceClass* klass) {
    GST_DEVICE_CLASS(klass)->create_element = createElement;
    G_OBJECT_CLASS(klass)->finalize = finalizeDevice;
}

static void gst_orvane_device_init(GstOrvaneDevice*) {}
