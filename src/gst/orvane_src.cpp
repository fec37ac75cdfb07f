// The orvanesrc element over orvane::Camera.
#include "orvane_src.h"

#include <gst/video/video.h>

#include <orvane/camera.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "control_properties.h"
#include "profile/settings_profile.h"
#include "register_list.h"

GST_DEBUG_CATEGORY_STATIC(orvane_src_debug);
#define GST_CAT_DEFAULT orvane_src_debug

namespace {

enum Property : guint {
    propertyDevice = 1,
    propertyScene,
    propertyProfile,
    propertyRegisters,
    firstControlProperty,
};

// Until the first frame has been timed, a frame is taken to last this long.
constexpr GstClockTime assumedFrameTime = GST_SECOND / 30;

// What the element keeps besides its GObject parts. Properties are set from the application's
// thread while the streaming thread captures: both sides take the lock.
struct SourceState {
    std::mutex lock;
    std::string device;
    std::string scene;
    std::string profile; // a settings file applied as the camera opens
    // Control values set as properties and not yet applied, in the table's order.
    std::vector<std::optional<int32_t>> pending;
    std::string registers; // "0x06=0x90,0x05=0x20", written at the next capture
    bool registersPending = false;
    std::unique_ptr<orvane::Camera> camera;
    orvane::FrameLayout layout;                              // of the RGB frame: the size in force
    orvane::PixelFormat format = orvane::PixelFormat::Rgb24; // as negotiated
    std::size_t frameBytes = 0;                              // a buffer's size
    std::size_t stride = 0;                                  // bytes from row to row
    std::atomic<bool> flushing = false;
    std::atomic<GstClockTime> frameTime = assumedFrameTime;
};

} // namespace

struct _GstOrvaneSrc {
    GstPushSrc parent;
    SourceState* state;
};

G_DEFINE_TYPE(GstOrvaneSrc, gst_orvane_src, GST_TYPE_PUSH_SRC)

namespace {

std::span<const orvane::ControlInfo> controls() {
    return orvane::controlList();
}

// The 4:2:2 bytes exist only while the sensor sends yuv, the colour mosaic only while it sends
// rgb.
bool offers(const orvane::Camera& camera, orvane::PixelFormat format) {
    orvane::FrameLayout layout;
    return camera.layout(format, layout).ok();
}

GstStructure* videoStructure(const char* format, const orvane::FrameLayout& layout) {
    return gst_structure_new("video/x-raw", "format", G_TYPE_STRING, format, "width", G_TYPE_INT,
                             gint(layout.width), "height", G_TYPE_INT, gint(layout.height),
                             "framerate", GST_TYPE_FRACTION, 0, 1, "max-framerate",
                             GST_TYPE_FRACTION, 1000, 1, nullptr);
}

// RGB first, so it is what an undecided peer gets; then the module's own bytes: its 4:2:2
// bytes, or its colour mosaic, whose G B / R G cells are GStreamer's gbrg Bayer layout.
void appendFormats(const orvane::Camera& camera, const orvane::FrameLayout& layout, GstCaps* caps) {
    gst_caps_append_structure(caps, videoStructure("RGB", layout));
    if (offers(camera, orvane::PixelFormat::Vyuy))
        gst_caps_append_structure(caps, videoStructure("VYUY", layout));
    if (offers(camera, orvane::PixelFormat::Mosaic)) {
        GstStructure* bayer = videoStructure("gbrg", layout);
        gst_structure_set_name(bayer, "video/x-bayer");
        gst_caps_append_structure(caps, bayer);
    }
}

// The size control's other choices that give a frame of their own, with their frame's shape.
std::vector<std::pair<int32_t, orvane::FrameLayout>> otherSizes(const orvane::Camera& camera) {
    std::vector<std::pair<int32_t, orvane::FrameLayout>> sizes;
    const orvane::ControlInfo* size = orvane::findControl("size");
    int32_t current = 0;
    if (size == nullptr || !camera.get(size->name, current))
        return sizes;
    for (const orvane::ControlChoice& choice : size->choices) {
        const orvane::ControlSetting setting{size->name, choice.value};
        orvane::FrameLayout layout;
        if (choice.selectable && choice.value != current &&
            camera.layoutWith({&setting, 1}, orvane::PixelFormat::Rgb24, layout))
            sizes.emplace_back(choice.value, layout);
    }
    return sizes;
}

// The size in force first, so it is what an undecided peer gets; then the other sizes a peer may
// ask for (CIF, QCIF).
GstCaps* capsFor(const orvane::Camera& camera, const orvane::FrameLayout& layout) {
    GstCaps* caps = gst_caps_new_empty();
    appendFormats(camera, layout, caps);
    for (const auto& [value, other] : otherSizes(camera)) {
        if (other.width != layout.width || other.height != layout.height)
            appendFormats(camera, other, caps);
    }
    return caps;
}

// Sets the size whose frame the peer chose, when it is not the one in force.
bool takeSize(GstOrvaneSrc* self, SourceState& state, gint width, gint height) {
    if (guint(width) == state.layout.width && guint(height) == state.layout.height)
        return true;
    for (const auto& [value, layout] : otherSizes(*state.camera)) {
        if (guint(width) != layout.width || guint(height) != layout.height)
            continue;
        if (const orvane::Status status = state.camera->set("size", value); !status) {
            GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS, ("%s", status.message().c_str()),
                                (nullptr));
            return false;
        }
        state.camera->layout(orvane::PixelFormat::Rgb24, state.layout);
        return true;
    }
    return false;
}

// Applies what was set while playing; a refusal is a warning on the bus and changes nothing.
// Called with the lock held, before a capture.
void applyPending(GstOrvaneSrc* self, SourceState& state) {
    std::vector<orvane::ControlSetting> settings;
    for (std::size_t i = 0; i < state.pending.size(); ++i) {
        if (state.pending[i])
            settings.push_back({controls()[i].name, *state.pending[i]});
        state.pending[i].reset();
    }
    if (!settings.empty()) {
        if (const orvane::Status status = state.camera->set(settings); !status)
            GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS, ("%s", status.message().c_str()),
                                (nullptr));
    }
    if (state.registersPending) {
        state.registersPending = false;
        std::vector<orvane::RegisterAssignment> writes;
        if (const std::string problem = orvane::parseRegisterList(state.registers, writes);
            !problem.empty()) {
            GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS, ("registers: %s", problem.c_str()),
                                (nullptr));
            return;
        }
        for (const orvane::RegisterAssignment& write : writes) {
            if (const orvane::Status status =
                    state.camera->writeRegister(write.address, write.value);
                !status)
                GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS, ("%s", status.message().c_str()),
                                    (nullptr));
        }
    }
}

// The string properties' fields; null for a control property.
std::string* stringProperty(SourceState& state, guint id) {
    switch (id) {
    case propertyDevice:
        return &state.device;
    case propertyScene:
        return &state.scene;
    case propertyProfile:
        return &state.profile;
    case propertyRegisters:
        return &state.registers;
    default:
        return nullptr;
    }
}

// The control a property stands for, or null (with GLib's warning) for an unknown property.
const orvane::ControlInfo* controlProperty(GObject* object, guint id, GParamSpec* definition) {
    const std::size_t control = id - firstControlProperty;
    if (id < firstControlProperty || control >= controls().size()) {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, definition);
        return nullptr;
    }
    return &controls()[control];
}

void setProperty(GObject* object, guint id, const GValue* value, GParamSpec* definition) {
    auto* self = GST_ORVANE_SRC(object);
    SourceState& state = *self->state;
    std::lock_guard guard(state.lock);
    if (std::string* text = stringProperty(state, id)) {
        *text = g_value_get_string(value) != nullptr ? g_value_get_string(value) : "";
        if (id == propertyRegisters)
            state.registersPending = !text->empty();
        return;
    }
    if (const orvane::ControlInfo* info = controlProperty(object, id, definition))
        state.pending[std::size_t(info - controls().data())] =
            orvane::controlValueFromGValue(*info, value);
}

void getProperty(GObject* object, guint id, GValue* value, GParamSpec* definition) {
    auto* self = GST_ORVANE_SRC(object);
    SourceState& state = *self->state;
    std::lock_guard guard(state.lock);
    if (const std::string* text = stringProperty(state, id)) {
        g_value_set_string(value, text->c_str());
        return;
    }
    const orvane::ControlInfo* found = controlProperty(object, id, definition);
    if (found == nullptr)
        return;
    const std::size_t control = std::size_t(found - controls().data());
    // What was asked for and is not yet applied, else what the camera holds, else the default.
    const orvane::ControlInfo& info = controls()[control];
    int32_t current = info.defaultValue;
    if (state.pending[control])
        current = *state.pending[control];
    else if (state.camera != nullptr)
        state.camera->get(info.name, current);
    orvane::controlValueToGValue(info, current, value);
}

// The profile's settings, in its order; a line it cannot use is a warning, a file that cannot be
// read an error.
bool applyProfile(GstOrvaneSrc* self, SourceState& state) {
    if (state.profile.empty())
        return true;
    // A profile is a few hundred bytes; the limit keeps a wrong file from filling the memory.
    constexpr std::streamsize maxProfileBytes = 64 * 1024;
    std::ifstream file(state.profile, std::ios::binary);
    std::string text(std::size_t(maxProfileBytes) + 1, '\0');
    file.read(text.data(), maxProfileBytes + 1);
    text.resize(std::size_t(file.gcount()));
    if (!file.eof() || text.size() > std::size_t(maxProfileBytes)) {
        GST_ELEMENT_ERROR(self, RESOURCE, OPEN_READ,
                          ("cannot read the profile %s (missing, not a file, or over 64 KiB)",
                           state.profile.c_str()),
                          (nullptr));
        return false;
    }
    const orvane::ProfileReading reading = orvane::readSettingsProfile(text);
    for (const std::string& problem : reading.problems)
        GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS,
                            ("%s: %s", state.profile.c_str(), problem.c_str()), (nullptr));
    for (const orvane::ControlChange& change : reading.changes) {
        if (const orvane::Status status = state.camera->set(change.name, change.value); !status)
            GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS,
                                ("%s: %s", state.profile.c_str(), status.message().c_str()),
                                (nullptr));
    }
    return true;
}

gboolean start(GstBaseSrc* base) {
    auto* self = GST_ORVANE_SRC(base);
    SourceState& state = *self->state;
    std::lock_guard guard(state.lock);
    orvane::CameraOptions options;
    options.scene = state.scene;
    orvane::Status status;
    state.camera = orvane::Camera::open(state.device, status, options);
    if (state.camera == nullptr) {
        GST_ELEMENT_ERROR(self, RESOURCE, OPEN_READ_WRITE, ("%s", status.message().c_str()),
                          ("device \"%s\"", state.device.c_str()));
        return FALSE;
    }
    GST_INFO_OBJECT(self, "%s", state.camera->description().c_str());
    // The profile first, then what the properties ask for on top of it.
    if (!applyProfile(self, state)) {
        state.camera.reset();
        return FALSE;
    }
    applyPending(self, state);
    state.camera->layout(orvane::PixelFormat::Rgb24, state.layout);
    state.flushing = false;
    return TRUE;
}

gboolean stop(GstBaseSrc* base) {
    auto* self = GST_ORVANE_SRC(base);
    std::lock_guard guard(self->state->lock);
    self->state->camera.reset();
    return TRUE;
}

GstCaps* getCaps(GstBaseSrc* base, GstCaps* filter) {
    auto* self = GST_ORVANE_SRC(base);
    SourceState& state = *self->state;
    GstCaps* caps = nullptr;
    {
        std::lock_guard guard(state.lock);
        caps = state.camera != nullptr ? capsFor(*state.camera, state.layout)
                                       : gst_pad_get_pad_template_caps(GST_BASE_SRC_PAD(base));
    }
    if (filter != nullptr) {
        GstCaps* both = gst_caps_intersect_full(filter, caps, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(caps);
        caps = both;
    }
    return caps;
}

gboolean setCaps(GstBaseSrc* base, GstCaps* caps) {
    auto* self = GST_ORVANE_SRC(base);
    SourceState& state = *self->state;
    std::lock_guard guard(state.lock);
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    gint width = 0, height = 0;
    if (!gst_structure_get_int(structure, "width", &width) ||
        !gst_structure_get_int(structure, "height", &height) ||
        !takeSize(self, state, width, height))
        return FALSE;
    if (gst_structure_has_name(structure, "video/x-bayer")) {
        // Rows of whole words, as bayer2rgb reads them.
        state.format = orvane::PixelFormat::Mosaic;
        state.stride = GST_ROUND_UP_4(std::size_t(width));
        state.frameBytes = state.stride * std::size_t(height);
    } else {
        GstVideoInfo info;
        if (!gst_video_info_from_caps(&info, caps))
            return FALSE;
        state.format = GST_VIDEO_INFO_FORMAT(&info) == GST_VIDEO_FORMAT_VYUY
                           ? orvane::PixelFormat::Vyuy
                           : orvane::PixelFormat::Rgb24;
        state.stride = std::size_t(GST_VIDEO_INFO_PLANE_STRIDE(&info, 0));
        state.frameBytes = GST_VIDEO_INFO_SIZE(&info);
    }
    gst_base_src_set_blocksize(base, guint(state.frameBytes));
    return TRUE;
}

gboolean query(GstBaseSrc* base, GstQuery* query) {
    auto* self = GST_ORVANE_SRC(base);
    if (GST_QUERY_TYPE(query) == GST_QUERY_LATENCY) {
        // A frame is there once it has been read: one frame's time, at least and at most.
        const GstClockTime frame = self->state->frameTime.load();
        gst_query_set_latency(query, TRUE, frame, frame);
        return TRUE;
    }
    return GST_BASE_SRC_CLASS(gst_orvane_src_parent_class)->query(base, query);
}

gboolean unlock(GstBaseSrc* base) {
    GST_ORVANE_SRC(base)->state->flushing = true;
    return TRUE;
}

gboolean unlockStop(GstBaseSrc* base) {
    GST_ORVANE_SRC(base)->state->flushing = false;
    return TRUE;
}

GstClockTime clockNow(GstElement* element) {
    GstClock* clock = gst_element_get_clock(element);
    if (clock == nullptr)
        return GST_CLOCK_TIME_NONE;
    const GstClockTime now = gst_clock_get_time(clock) - gst_element_get_base_time(element);
    gst_object_unref(clock);
    return now;
}

GstFlowReturn create(GstPushSrc* push, GstBuffer** out) {
    auto* self = GST_ORVANE_SRC(push);
    GstBaseSrc* base = GST_BASE_SRC(push);
    SourceState& state = *self->state;
    if (state.flushing)
        return GST_FLOW_FLUSHING;
    bool renegotiate = false;
    {
        std::lock_guard guard(state.lock);
        applyPending(self, state);
        orvane::FrameLayout layout;
        state.camera->layout(orvane::PixelFormat::Rgb24, layout);
        renegotiate =
            layout.width != state.layout.width || layout.height != state.layout.height ||
            (state.format != orvane::PixelFormat::Rgb24 && !offers(*state.camera, state.format));
        state.layout = layout;
    }
    // A new window or size is a new format downstream before the frame that has it.
    if (renegotiate && !gst_base_src_negotiate(base))
        return GST_FLOW_NOT_NEGOTIATED;

    GstBuffer* buffer = nullptr;
    const GstFlowReturn allocated =
        GST_BASE_SRC_CLASS(gst_orvane_src_parent_class)
            ->alloc(base, G_MAXUINT64, guint(state.frameBytes), &buffer);
    if (allocated != GST_FLOW_OK)
        return allocated;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
        gst_buffer_unref(buffer);
        GST_ELEMENT_ERROR(self, RESOURCE, WRITE, ("cannot map a buffer"), (nullptr));
        return GST_FLOW_ERROR;
    }
    const GstClockTime started = clockNow(GST_ELEMENT(self));
    orvane::Status status;
    orvane::FrameInfo info;
    {
        std::lock_guard guard(state.lock);
        status =
            state.camera->capture(state.format, std::span(map.data, map.size), state.stride, &info);
    }
    gst_buffer_unmap(buffer, &map);
    if (!status) {
        gst_buffer_unref(buffer);
        GST_ELEMENT_ERROR(self, RESOURCE, READ, ("%s", status.message().c_str()), (nullptr));
        return GST_FLOW_ERROR;
    }
    const GstClockTime ended = clockNow(GST_ELEMENT(self));
    if (GST_CLOCK_TIME_IS_VALID(started) && GST_CLOCK_TIME_IS_VALID(ended) && ended > started) {
        state.frameTime = ended - started;
        GST_BUFFER_DURATION(buffer) = ended - started;
    }
    GST_BUFFER_PTS(buffer) = started;
    GST_BUFFER_OFFSET(buffer) = info.sequence - 1;
    GST_BUFFER_OFFSET_END(buffer) = info.sequence;
    *out = buffer;
    return GST_FLOW_OK;
}

void finalize(GObject* object) {
    delete GST_ORVANE_SRC(object)->state;
    G_OBJECT_CLASS(gst_orvane_src_parent_class)->finalize(object);
}

} // namespace

static void gst_orvane_src_class_init(GstOrvaneSrcClass* klass) {
    GST_DEBUG_CATEGORY_INIT(orvane_src_debug, "orvanesrc", 0, "Orvane camera module source");
    auto* objectClass = G_OBJECT_CLASS(klass);
    objectClass->set_property = setProperty;
    objectClass->get_property = getProperty;
    objectClass->finalize = finalize;

    constexpr auto stringFlags = static_cast<GParamFlags>(
        G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS | GST_PARAM_MUTABLE_READY);
    g_object_class_install_property(
        objectClass, propertyDevice,
        g_param_spec_string("device", "Device",
                            "The camera's port, as ORVANE_PORT names it: sim (the simulated "
                            "module), ppdev, ppdev:/dev/parportN or direct",
                            "", stringFlags));
    g_object_class_install_property(
        objectClass, propertyScene,
        g_param_spec_string("scene", "Scene",
                            "A binary PPM the simulated module shows instead of its built-in "
                            "scene",
                            "", stringFlags));
    g_object_class_install_property(
        objectClass, propertyProfile,
        g_param_spec_string("profile", "Profile",
                            "A settings file (\"brightness = 150\" a line, as orvane-studio "
                            "saves them) applied as the camera opens, before the control "
                            "properties",
                            "", stringFlags));
    g_object_class_install_property(
        objectClass, propertyRegisters,
        g_param_spec_string("registers", "Registers",
                            "Raw register writes for bring-up, \"0x06=0x90,0x05=0x20\", sent "
                            "before the next frame",
                            "",
                            static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS |
                                                     GST_PARAM_MUTABLE_PLAYING)));
    guint id = firstControlProperty;
    for (const orvane::ControlInfo& control : controls())
        g_object_class_install_property(objectClass, id++, orvane::controlParamSpec(control));

    auto* elementClass = GST_ELEMENT_CLASS(klass);
    gst_element_class_set_static_metadata(
        elementClass, "Orvane camera module source", "Source/Video",
        "Frames of the OV7610 camera module on the parallel port, or of the simulated module",
        "The Orvane authors");
    GstCaps* caps = gst_caps_from_string(
        "video/x-raw, format={RGB, VYUY}, width=[1, 640], height=[1, 500], framerate=0/1, "
        "max-framerate=[0/1, 1000/1]; video/x-bayer, format=gbrg, width=[1, 640], "
        "height=[1, 500], framerate=0/1, max-framerate=[0/1, 1000/1]");
    gst_element_class_add_pad_template(
        elementClass, gst_pad_template_new("src", GST_PAD_SRC, GST_PAD_ALWAYS, caps));
    gst_caps_unref(caps);

    auto* baseClass = GST_BASE_SRC_CLASS(klass);
    baseClass->start = start;
    baseClass->stop = stop;
    baseClass->get_caps = getCaps;
    baseClass->set_caps = setCaps;
    baseClass->query = query;
    baseClass->unlock = unlock;
    baseClass->unlock_stop = unlockStop;
    GST_PUSH_SRC_CLASS(klass)->create = create;
}

static void gst_orvane_src_init(GstOrvaneSrc* self) {
    self->state = new SourceState;
    self->state->pending.resize(controls().size());
    gst_base_src_set_live(GST_BASE_SRC(self), TRUE);
    gst_base_src_set_format(GST_BASE_SRC(self), GST_FORMAT_TIME);
}
