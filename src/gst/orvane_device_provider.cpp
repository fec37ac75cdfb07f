// Devices for GstDeviceMonitor: the simulated module and /dev/parport*.
#include "orvane_device_provider.h"

#include <orvane/camera.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

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

// The simulated module's frame size is known without hardware; a real port is not opened to
// look (that would drive the camera), so it offers every size the element can give.
GstCaps* capsOf(const std::string& portName) {
    if (portName == "sim") {
        orvane::Status status;
        const std::unique_ptr<orvane::Camera> camera = orvane::Camera::open("sim", status);
        orvane::FrameLayout layout;
        if (camera != nullptr && camera->layout(orvane::PixelFormat::Rgb24, layout))
            return gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "RGB", "width",
                                       G_TYPE_INT, gint(layout.width), "height", G_TYPE_INT,
                                       gint(layout.height), "framerate", GST_TYPE_FRACTION, 0, 1,
                                       nullptr);
    }
    return gst_caps_from_string(
        "video/x-raw, format=RGB, width=[1, 640], height=[1, 500], framerate=0/1");
}

GstDevice* deviceFor(const std::string& portName, const std::string& name) {
    GstCaps* caps = capsOf(portName);
    GstStructure* properties =
        gst_structure_new("orvane-device", "device.api", G_TYPE_STRING, "orvane", "device.path",
                          G_TYPE_STRING, portName.c_str(), nullptr);
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
    std::vector<std::string> ports;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("parport", 0) == 0)
            ports.push_back(entry.path().string());
    }
    std::sort(ports.begin(), ports.end());
    for (const std::string& port : ports)
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
