// The orvanesrc element over orvane::Camera.
#include "orvane_src.h"

#include <gst/video/video.h>

#include <orvane/camera.h>
#include <orvane/profile.h>
#include <orvane/registers.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "control_properties.h"

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

// The custom meta on every buffer: "sequence" and one field per control, as the frame was taken.
constexpr const char* frameMetaName = "OrvaneFrameMeta";

// Until the first frame has been timed, a frame is taken to last this long.
constexpr GstClockTime assumedFrameTime = GST_SECOND / 30;

// What the element keeps besides its GObject parts. Properties are set and read from the
// application's thread under settingsLock, which is only ever held briefly, never across a
// capture; the camera and the negotiated frame belong to the streaming thread and the state
// changes, under cameraLock.
struct SourceState {
    std::mutex settingsLock;
    std::string device;
    std::string scene;
    std::string profile;   // a settings file applied as the camera opens
    std::string registers; // "0x06=0x90,0x05=0x20", written at every start and when set
    bool registersPending = false;
    // Control values set as properties, in the table's order: applied at every start, on top of
    // the profile. pending: set while running and not yet applied.
    std::vector<std::optional<int32_t>> asked;
    std::vector<std::optional<int32_t>> pending;
    // What the camera held after the last change; what a property reads back.
    std::vector<int32_t> current;
    bool running = false; // the camera is open: device, scene and profile stay as they are

    std::mutex cameraLock;
    std::unique_ptr<orvane::Camera> camera;
    orvane::FrameLayout layout;                              // of the RGB frame: the size in force
    orvane::PixelFormat format = orvane::PixelFormat::Rgb24; // as negotiated
    std::size_t frameBytes = 0;                              // a buffer's size
    std::size_t stride = 0;                                  // bytes from row to row
    gint negotiatedWidth = 0, negotiatedHeight = 0;
    bool streaming = false; // a buffer has gone out: a size the caps undo is worth a warning
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
        // A size set while streaming that downstream's caps do not take is set back.
        if (state.streaming)
            GST_ELEMENT_WARNING(self, CORE, NEGOTIATION,
                                ("downstream takes only %dx%d frames; the size is set back to "
                                 "give them",
                                 width, height),
                                (nullptr));
        state.camera->layout(orvane::PixelFormat::Rgb24, state.layout);
        return true;
    }
    return false;
}

// The controls' values as the camera holds them, for the properties to read back.
void noteCurrent(SourceState& state, const std::vector<std::optional<int32_t>>& applied) {
    std::vector<int32_t> values(controls().size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = controls()[i].defaultValue;
        state.camera->get(controls()[i].name, values[i]);
    }
    std::lock_guard guard(state.settingsLock);
    state.current = std::move(values);
    // A value set again while these were applied is still to come.
    for (std::size_t i = 0; i < applied.size(); ++i) {
        if (applied[i] && state.pending[i] == applied[i])
            state.pending[i].reset();
    }
}

// Applies changes to the camera; a refusal is a warning on the bus and changes nothing. Called
// on the streaming thread (or at start) with cameraLock held and settingsLock not.
void applyChanges(GstOrvaneSrc* self, SourceState& state,
                  const std::vector<std::optional<int32_t>>& values,
                  const std::optional<std::string>& registers) {
    std::vector<orvane::ControlSetting> settings;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i])
            settings.push_back({controls()[i].name, *values[i]});
    }
    // All at once, so a format and the window it allows go together; when that is refused, one
    // by one, so one refused value does not hold back the rest.
    if (!settings.empty() && !state.camera->set(settings)) {
        for (const orvane::ControlSetting& setting : settings) {
            if (const orvane::Status status = state.camera->set(setting.name, setting.value);
                !status)
                GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS, ("%s", status.message().c_str()),
                                    (nullptr));
        }
    }
    if (registers) {
        std::vector<orvane::RegisterAssignment> writes;
        if (const orvane::Status parsed = orvane::parseRegisterList(*registers, writes); !parsed)
            GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS,
                                ("registers: %s", parsed.message().c_str()), (nullptr));
        for (const orvane::RegisterAssignment& write : writes) {
            if (const orvane::Status status =
                    state.camera->writeRegister(write.address, write.value);
                !status)
                GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS, ("%s", status.message().c_str()),
                                    (nullptr));
        }
    }
    noteCurrent(state, values);
}

// Applies what was set while playing, before a capture.
void applyPending(GstOrvaneSrc* self, SourceState& state) {
    std::vector<std::optional<int32_t>> values;
    std::optional<std::string> registers;
    {
        std::lock_guard guard(state.settingsLock);
        values = state.pending;
        if (state.registersPending)
            registers = state.registers;
        state.registersPending = false;
    }
    if (registers || std::any_of(values.begin(), values.end(), [](auto& v) { return v; }))
        applyChanges(self, state, values, registers);
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
    std::unique_lock guard(state.settingsLock);
    if (std::string* text = stringProperty(state, id)) {
        const std::string wanted =
            g_value_get_string(value) != nullptr ? g_value_get_string(value) : "";
        if (state.running && id != propertyRegisters) {
            const std::string kept = *text;
            guard.unlock();
            GST_ELEMENT_WARNING(self, RESOURCE, SETTINGS,
                                ("%s cannot change while the element runs; it stays \"%s\"",
                                 g_param_spec_get_name(definition), kept.c_str()),
                                ("stop the pipeline (NULL or READY) to change it"));
            return;
        }
        *text = wanted;
        if (id == propertyRegisters)
            state.registersPending = !text->empty();
        return;
    }
    if (const orvane::ControlInfo* info = controlProperty(object, id, definition)) {
        const std::size_t control = std::size_t(info - controls().data());
        const int32_t wanted = orvane::controlValueFromGValue(*info, value);
        state.asked[control] = wanted;
        state.pending[control] = wanted;
    }
}

void getProperty(GObject* object, guint id, GValue* value, GParamSpec* definition) {
    auto* self = GST_ORVANE_SRC(object);
    SourceState& state = *self->state;
    std::lock_guard guard(state.settingsLock);
    if (const std::string* text = stringProperty(state, id)) {
        g_value_set_string(value, text->c_str());
        return;
    }
    const orvane::ControlInfo* found = controlProperty(object, id, definition);
    if (found == nullptr)
        return;
    const std::size_t control = std::size_t(found - controls().data());
    // What was asked for and is not yet applied, else what the camera holds or held last.
    orvane::controlValueToGValue(*found, state.pending[control].value_or(state.current[control]),
                                 value);
}

// The profile's settings, in its order; a line it cannot use is a warning, a file that cannot be
// read an error.
bool applyProfile(GstOrvaneSrc* self, SourceState& state, const std::string& profile) {
    if (profile.empty())
        return true;
    orvane::ProfileReading reading;
    if (const orvane::Status status = orvane::readSettingsProfileFile(profile, reading); !status) {
        GST_ELEMENT_ERROR(self, RESOURCE, OPEN_READ, ("%s", status.message().c_str()), (nullptr));
        return false;
    }
    for (const std::string& problem : reading.problems)
        GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS, ("%s: %s", profile.c_str(), problem.c_str()),
                            (nullptr));
    for (const orvane::ControlChange& change : reading.changes) {
        if (const orvane::Status status = state.camera->set(change.name, change.value); !status)
            GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS,
                                ("%s: %s", profile.c_str(), status.message().c_str()), (nullptr));
    }
    return true;
}

// The frame in force; an error with the camera's text when the window gives none the element
// can deliver.
bool takeLayout(GstOrvaneSrc* self, SourceState& state) {
    orvane::FrameLayout layout;
    if (const orvane::Status status = state.camera->layout(orvane::PixelFormat::Rgb24, layout);
        !status) {
        GST_ELEMENT_ERROR(self, RESOURCE, SETTINGS, ("%s", status.message().c_str()), (nullptr));
        return false;
    }
    state.layout = layout;
    return true;
}

gboolean start(GstBaseSrc* base) {
    auto* self = GST_ORVANE_SRC(base);
    SourceState& state = *self->state;
    std::lock_guard cameraGuard(state.cameraLock);
    std::string device, profile, registers;
    orvane::CameraOptions options;
    std::vector<std::optional<int32_t>> asked;
    {
        std::lock_guard guard(state.settingsLock);
        device = state.device;
        options.scene = state.scene;
        profile = state.profile;
        registers = state.registers;
        asked = state.asked;
        state.registersPending = false;
        state.running = true;
    }
    orvane::Status status;
    state.camera = orvane::Camera::open(device, status, options);
    bool started = state.camera != nullptr;
    if (!started)
        GST_ELEMENT_ERROR(self, RESOURCE, OPEN_READ_WRITE, ("%s", status.message().c_str()),
                          ("device \"%s\"", device.c_str()));
    else
        GST_INFO_OBJECT(self, "%s", state.camera->description().c_str());
    // The profile first, then what the properties ask for on top of it, at every start.
    if (started && (started = applyProfile(self, state, profile))) {
        applyChanges(self, state, asked,
                     registers.empty() ? std::nullopt : std::optional(registers));
        started = takeLayout(self, state);
    }
    if (!started) {
        state.camera.reset();
        std::lock_guard guard(state.settingsLock);
        state.running = false;
        return FALSE;
    }
    state.streaming = false;
    state.flushing = false;
    return TRUE;
}

gboolean stop(GstBaseSrc* base) {
    auto* self = GST_ORVANE_SRC(base);
    SourceState& state = *self->state;
    std::lock_guard cameraGuard(state.cameraLock);
    state.camera.reset();
    std::lock_guard guard(state.settingsLock);
    state.running = false;
    return TRUE;
}

GstCaps* getCaps(GstBaseSrc* base, GstCaps* filter) {
    auto* self = GST_ORVANE_SRC(base);
    SourceState& state = *self->state;
    GstCaps* caps = nullptr;
    {
        std::lock_guard guard(state.cameraLock);
        caps = state.camera != nullptr && state.layout.width != 0
                   ? capsFor(*state.camera, state.layout)
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
    std::lock_guard guard(state.cameraLock);
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    gint width = 0, height = 0;
    if (!gst_structure_get_int(structure, "width", &width) ||
        !gst_structure_get_int(structure, "height", &height) ||
        !takeSize(self, state, width, height))
        return FALSE;
    state.negotiatedWidth = width;
    state.negotiatedHeight = height;
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

// The controls' values in force, to set them back; a choice that only shows (rgb's own window)
// is left to the settings that give it.
std::vector<orvane::ControlSetting> valuesInForce(const orvane::Camera& camera) {
    std::vector<orvane::ControlSetting> settings;
    for (const orvane::ControlInfo& info : controls()) {
        int32_t value = info.defaultValue;
        if (!camera.get(info.name, value))
            continue;
        if (std::none_of(info.choices.begin(), info.choices.end(),
                         [&](auto& c) { return c.value == value && !c.selectable; }))
            settings.push_back({info.name, value});
    }
    return settings;
}

// The frame's sequence number and the control values it was taken with, on the buffer.
void addFrameMeta(GstBuffer* buffer, const orvane::Camera& camera, uint64_t sequence) {
    GstCustomMeta* meta = gst_buffer_add_custom_meta(buffer, frameMetaName);
    if (meta == nullptr)
        return;
    GstStructure* structure = gst_custom_meta_get_structure(meta);
    gst_structure_set(structure, "sequence", G_TYPE_UINT64, guint64(sequence), nullptr);
    for (const orvane::ControlInfo& info : controls()) {
        int32_t value = info.defaultValue;
        camera.get(info.name, value);
        gst_structure_set(structure, std::string(info.name).c_str(), G_TYPE_INT, gint(value),
                          nullptr);
    }
}

GstFlowReturn create(GstPushSrc* push, GstBuffer** out) {
    auto* self = GST_ORVANE_SRC(push);
    GstBaseSrc* base = GST_BASE_SRC(push);
    SourceState& state = *self->state;
    if (state.flushing)
        return GST_FLOW_FLUSHING;
    bool renegotiate = false;
    std::vector<orvane::ControlSetting> before;
    {
        std::lock_guard guard(state.cameraLock);
        before = valuesInForce(*state.camera);
        applyPending(self, state);
        const orvane::FrameLayout was = state.layout;
        if (!takeLayout(self, state))
            return GST_FLOW_ERROR;
        renegotiate =
            was.width != state.layout.width || was.height != state.layout.height ||
            (state.format != orvane::PixelFormat::Rgb24 && !offers(*state.camera, state.format));
    }
    // A new window, size or format is a new format downstream before the frame that has it;
    // one that downstream cannot take is set back, with a warning, and the stream goes on.
    if (renegotiate && !gst_base_src_negotiate(base)) {
        {
            std::lock_guard guard(state.cameraLock);
            state.camera->set(before);
            noteCurrent(state, {});
            if (!takeLayout(self, state))
                return GST_FLOW_ERROR;
        }
        GST_ELEMENT_WARNING(self, CORE, NEGOTIATION,
                            ("downstream cannot take the frames of the new settings; they are "
                             "set back"),
                            (nullptr));
        if (!gst_base_src_negotiate(base))
            return GST_FLOW_NOT_NEGOTIATED;
    }
    if (renegotiate) {
        // Caps that stayed as they were are not set again: the size goes back to give them.
        std::lock_guard guard(state.cameraLock);
        if (!takeSize(self, state, state.negotiatedWidth, state.negotiatedHeight))
            return GST_FLOW_NOT_NEGOTIATED;
        noteCurrent(state, {});
    }

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
        std::lock_guard guard(state.cameraLock);
        status =
            state.camera->capture(state.format, std::span(map.data, map.size), state.stride, &info);
        if (status) {
            addFrameMeta(buffer, *state.camera, info.sequence);
            state.streaming = true;
        }
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
    static const gchar* frameMetaTags[] = {nullptr};
    gst_meta_register_custom(frameMetaName, frameMetaTags, nullptr, nullptr, nullptr);
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
                            "module), sim:PARAMETERS (sim:scene=card,reference), ppdev, "
                            "ppdev:/dev/parportN or direct",
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
    self->state->asked.resize(controls().size());
    self->state->pending.resize(controls().size());
    for (const orvane::ControlInfo& info : controls())
        self->state->current.push_back(info.defaultValue);
    gst_base_src_set_live(GST_BASE_SRC(self), TRUE);
    gst_base_src_set_format(GST_BASE_SRC(self), GST_FORMAT_TIME);
}
