// SPA objects for the node's formats, buffers and controls.
#include "node_params.h"

#include <spa/buffer/meta.h>
#include <spa/debug/types.h>
#include <spa/param/buffers.h>
#include <spa/param/format-utils.h>
#include <spa/param/props-types.h>
#include <spa/param/props.h>
#include <spa/param/video/format-utils.h>
#include <spa/pod/iter.h>

#include <cmath>

namespace orvane {
namespace {

// A control named as one of PipeWire's own properties (brightness, contrast, gain, ...) is that
// property, as camera programs know them; the others have custom ones.
std::optional<uint32_t> standardProperty(std::string_view control) {
    const std::string name(control);
    if (const spa_type_info* info = spa_debug_type_find_short(spa_type_props, name.c_str());
        info != nullptr && info->type < SPA_PROP_START_CUSTOM)
        return info->type;
    return std::nullopt;
}

const spa_pod* finished(spa_pod_builder& builder, spa_pod_frame& frame) {
    return static_cast<const spa_pod*>(spa_pod_builder_pop(&builder, &frame));
}

const spa_pod* videoFormat(spa_pod_builder& builder, uint32_t videoFormat, uint32_t width,
                           uint32_t height) {
    spa_pod_frame object, choice;
    spa_pod_builder_push_object(&builder, &object, SPA_TYPE_OBJECT_Format, SPA_PARAM_EnumFormat);
    spa_pod_builder_prop(&builder, SPA_FORMAT_mediaType, 0);
    spa_pod_builder_id(&builder, SPA_MEDIA_TYPE_video);
    spa_pod_builder_prop(&builder, SPA_FORMAT_mediaSubtype, 0);
    spa_pod_builder_id(&builder, SPA_MEDIA_SUBTYPE_raw);
    spa_pod_builder_prop(&builder, SPA_FORMAT_VIDEO_format, 0);
    spa_pod_builder_id(&builder, videoFormat);
    spa_pod_builder_prop(&builder, SPA_FORMAT_VIDEO_size, 0);
    spa_pod_builder_rectangle(&builder, width, height);
    spa_pod_builder_prop(&builder, SPA_FORMAT_VIDEO_framerate, 0);
    spa_pod_builder_push_choice(&builder, &choice, SPA_CHOICE_Enum, 0);
    spa_pod_builder_fraction(&builder, nodeFrameRates[0], 1);
    for (const uint32_t rate : nodeFrameRates)
        spa_pod_builder_fraction(&builder, rate, 1);
    spa_pod_builder_pop(&builder, &choice);
    return finished(builder, object);
}

// A value of any number type as a whole number, for pw-cli writes floats.
std::optional<int32_t> wholeValue(const spa_pod* value) {
    int32_t whole = 0;
    int64_t wide = 0;
    bool flag = false;
    float single = 0;
    double precise = 0;
    uint32_t id = 0;
    if (spa_pod_get_int(value, &whole) == 0)
        return whole;
    if (spa_pod_get_bool(value, &flag) == 0)
        return flag ? 1 : 0;
    if (spa_pod_get_id(value, &id) == 0)
        precise = id;
    else if (spa_pod_get_long(value, &wide) == 0)
        precise = double(wide);
    else if (spa_pod_get_float(value, &single) == 0)
        precise = single;
    else if (spa_pod_get_double(value, &precise) != 0)
        return std::nullopt;
    if (!std::isfinite(precise) || precise < INT32_MIN || precise > INT32_MAX)
        return std::nullopt;
    return int32_t(std::lround(precise));
}

const ControlInfo* controlOfProperty(uint32_t id) {
    const std::span<const ControlInfo> controls = controlList();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controlPropertyId(i) == id)
            return &controls[i];
    }
    return nullptr;
}

void addSetting(const ControlInfo* control, const spa_pod* value, std::string_view what,
                std::vector<ControlSetting>& settings, std::vector<std::string>& problems) {
    if (control == nullptr) {
        problems.push_back(std::string(what) + " is none of the camera's controls");
        return;
    }
    const std::optional<int32_t> whole = wholeValue(value);
    if (!whole) {
        problems.push_back(std::string(control->name) + ": the value is not a number");
        return;
    }
    settings.push_back({control->name, *whole});
}

// params: a struct of name, value pairs.
void readNamedSettings(const spa_pod* params, std::vector<ControlSetting>& settings,
                       std::vector<std::string>& problems) {
    if (!spa_pod_is_struct(params)) {
        problems.push_back("params is not a list of names and values");
        return;
    }
    const void* body = SPA_POD_BODY_CONST(params);
    const uint32_t size = SPA_POD_BODY_SIZE(params);
    const auto* name = static_cast<const spa_pod*>(body);
    while (spa_pod_is_inside(body, size, name)) {
        const auto* value = static_cast<const spa_pod*>(spa_pod_next(name));
        const char* text = nullptr;
        if (!spa_pod_is_inside(body, size, value) || spa_pod_get_string(name, &text) != 0) {
            problems.push_back("params is not a list of names and values");
            return;
        }
        addSetting(findControl(text), value, "\"" + std::string(text) + "\"", settings, problems);
        name = static_cast<const spa_pod*>(spa_pod_next(value));
    }
}

} // namespace

std::vector<const spa_pod*> formatParams(spa_pod_builder& builder,
                                         std::span<const NodeFrameSize> sizes) {
    std::vector<const spa_pod*> params;
    for (const NodeFrameSize& size : sizes) {
        params.push_back(videoFormat(builder, SPA_VIDEO_FORMAT_RGB, size.width, size.height));
        if (size.width % 2 == 0)
            params.push_back(videoFormat(builder, SPA_VIDEO_FORMAT_YUY2, size.width, size.height));
    }
    return params;
}

std::optional<NodeVideoFormat> readFormat(const spa_pod* param) {
    uint32_t mediaType = 0, mediaSubtype = 0;
    if (param == nullptr || spa_format_parse(param, &mediaType, &mediaSubtype) < 0 ||
        mediaType != SPA_MEDIA_TYPE_video || mediaSubtype != SPA_MEDIA_SUBTYPE_raw)
        return std::nullopt;
    spa_video_info_raw raw{};
    if (spa_format_video_raw_parse(param, &raw) < 0)
        return std::nullopt;
    NodeVideoFormat chosen{NodeFormat::Rgb, raw.size.width, raw.size.height, 0};
    if (raw.format == SPA_VIDEO_FORMAT_YUY2)
        chosen.format = NodeFormat::Yuy2;
    else if (raw.format != SPA_VIDEO_FORMAT_RGB)
        return std::nullopt;
    if (raw.framerate.denom != 0)
        chosen.framesPerSecond = raw.framerate.num / raw.framerate.denom;
    return chosen;
}

std::vector<const spa_pod*> bufferParams(spa_pod_builder& builder, std::size_t stride,
                                         std::size_t size) {
    spa_pod_frame object, choice;
    spa_pod_builder_push_object(&builder, &object, SPA_TYPE_OBJECT_ParamBuffers, SPA_PARAM_Buffers);
    spa_pod_builder_prop(&builder, SPA_PARAM_BUFFERS_buffers, 0);
    spa_pod_builder_push_choice(&builder, &choice, SPA_CHOICE_Range, 0);
    spa_pod_builder_int(&builder, 4);
    spa_pod_builder_int(&builder, 2);
    spa_pod_builder_int(&builder, 16);
    spa_pod_builder_pop(&builder, &choice);
    spa_pod_builder_prop(&builder, SPA_PARAM_BUFFERS_blocks, 0);
    spa_pod_builder_int(&builder, 1);
    spa_pod_builder_prop(&builder, SPA_PARAM_BUFFERS_size, 0);
    spa_pod_builder_int(&builder, int32_t(size));
    spa_pod_builder_prop(&builder, SPA_PARAM_BUFFERS_stride, 0);
    spa_pod_builder_int(&builder, int32_t(stride));
    const spa_pod* buffers = finished(builder, object);

    spa_pod_builder_push_object(&builder, &object, SPA_TYPE_OBJECT_ParamMeta, SPA_PARAM_Meta);
    spa_pod_builder_prop(&builder, SPA_PARAM_META_type, 0);
    spa_pod_builder_id(&builder, SPA_META_Header);
    spa_pod_builder_prop(&builder, SPA_PARAM_META_size, 0);
    spa_pod_builder_int(&builder, int32_t(sizeof(spa_meta_header)));
    return {buffers, finished(builder, object)};
}

uint32_t controlPropertyId(std::size_t index) {
    return standardProperty(controlList()[index].name)
        .value_or(SPA_PROP_START_CUSTOM + uint32_t(index));
}

std::vector<const spa_pod*> propInfoParams(spa_pod_builder& builder) {
    std::vector<const spa_pod*> params;
    const std::span<const ControlInfo> controls = controlList();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlInfo& control = controls[i];
        const std::string name(control.name);
        spa_pod_frame object, choice, labels;
        spa_pod_builder_push_object(&builder, &object, SPA_TYPE_OBJECT_PropInfo,
                                    SPA_PARAM_PropInfo);
        spa_pod_builder_prop(&builder, SPA_PROP_INFO_id, 0);
        spa_pod_builder_id(&builder, controlPropertyId(i));
        spa_pod_builder_prop(&builder, SPA_PROP_INFO_name, 0);
        spa_pod_builder_string(&builder, name.c_str());
        spa_pod_builder_prop(&builder, SPA_PROP_INFO_description, 0);
        spa_pod_builder_string(&builder, name.c_str());
        spa_pod_builder_prop(&builder, SPA_PROP_INFO_type, 0);
        switch (control.type) {
        case ControlType::Boolean:
            // The default, then both values, as PipeWire's own Boolean properties.
            spa_pod_builder_push_choice(&builder, &choice, SPA_CHOICE_Enum, 0);
            spa_pod_builder_bool(&builder, control.defaultValue != 0);
            spa_pod_builder_bool(&builder, control.defaultValue != 0);
            spa_pod_builder_bool(&builder, control.defaultValue == 0);
            spa_pod_builder_pop(&builder, &choice);
            break;
        case ControlType::Menu:
            spa_pod_builder_push_choice(&builder, &choice, SPA_CHOICE_Enum, 0);
            spa_pod_builder_int(&builder, control.defaultValue);
            for (const ControlChoice& option : control.choices) {
                if (option.selectable)
                    spa_pod_builder_int(&builder, option.value);
            }
            spa_pod_builder_pop(&builder, &choice);
            spa_pod_builder_prop(&builder, SPA_PROP_INFO_labels, 0);
            spa_pod_builder_push_struct(&builder, &labels);
            for (const ControlChoice& option : control.choices) {
                if (!option.selectable)
                    continue;
                spa_pod_builder_int(&builder, option.value);
                spa_pod_builder_string(&builder, std::string(option.name).c_str());
            }
            spa_pod_builder_pop(&builder, &labels);
            break;
        case ControlType::Integer:
            spa_pod_builder_push_choice(&builder, &choice, SPA_CHOICE_Step, 0);
            spa_pod_builder_int(&builder, control.defaultValue);
            spa_pod_builder_int(&builder, control.minimum);
            spa_pod_builder_int(&builder, control.maximum);
            spa_pod_builder_int(&builder, 1);
            spa_pod_builder_pop(&builder, &choice);
            break;
        }
        params.push_back(finished(builder, object));
    }
    return params;
}

const spa_pod* propsParam(spa_pod_builder& builder, std::span<const int32_t> values) {
    spa_pod_frame object;
    spa_pod_builder_push_object(&builder, &object, SPA_TYPE_OBJECT_Props, SPA_PARAM_Props);
    const std::span<const ControlInfo> controls = controlList();
    for (std::size_t i = 0; i < controls.size() && i < values.size(); ++i) {
        spa_pod_builder_prop(&builder, controlPropertyId(i), 0);
        if (controls[i].type == ControlType::Boolean)
            spa_pod_builder_bool(&builder, values[i] != 0);
        else
            spa_pod_builder_int(&builder, values[i]);
    }
    return finished(builder, object);
}

std::vector<ControlSetting> readProps(const spa_pod* param, std::vector<std::string>& problems) {
    std::vector<ControlSetting> settings;
    if (param == nullptr || !spa_pod_is_object_type(param, SPA_TYPE_OBJECT_Props)) {
        problems.push_back("the properties are not a Props object");
        return settings;
    }
    const auto* object = reinterpret_cast<const spa_pod_object*>(param);
    const spa_pod_prop* property = nullptr;
    SPA_POD_OBJECT_FOREACH(object, property) {
        if (property->key == SPA_PROP_params)
            readNamedSettings(&property->value, settings, problems);
        else
            addSetting(controlOfProperty(property->key), &property->value,
                       "property " + std::to_string(property->key), settings, problems);
    }
    return settings;
}

} // namespace orvane
