// orvanesrc in a harness: buffers of the negotiated size, a control changed while playing shows
// in the frames after it and in none before, and the latency is one frame's time.
#include <glib/gstdio.h>
#include <gst/check/gstharness.h>
#include <gst/gst.h>
#include <gst/video/video.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "parallel_ports.h"

namespace {

double meanOf(GstBuffer* buffer) {
    GstMapInfo map;
    EXPECT_TRUE(gst_buffer_map(buffer, &map, GST_MAP_READ));
    const double sum = std::accumulate(map.data, map.data + map.size, 0.0);
    const double mean = sum / double(map.size);
    gst_buffer_unmap(buffer, &map);
    return mean;
}

TEST(OrvaneSrc, ControlsChangedWhilePlayingShowInLaterFramesOnly) {
    GstHarness* harness = gst_harness_new("orvanesrc");
    GstBus* bus = gst_bus_new();
    gst_element_set_bus(harness->element, bus);
    g_object_set(harness->element, "device", "sim:reference", "brightness", 60, nullptr);
    // A profile is applied as the camera opens; the properties set come on top of it.
    gchar* profile = nullptr;
    const gint descriptor = g_file_open_tmp("orvane-XXXXXX.txt", &profile, nullptr);
    ASSERT_GE(descriptor, 0);
    close(descriptor);
    ASSERT_TRUE(g_file_set_contents(profile,
                                    "\xEF\xBB\xBF"
                                    "contrast = 77\nbrightness = 10\n",
                                    -1, nullptr));
    g_object_set(harness->element, "profile", profile, nullptr);
    gst_harness_play(harness);
    std::vector<double> means;
    for (int i = 0; i < 3; ++i) {
        GstBuffer* buffer = gst_harness_pull(harness);
        ASSERT_NE(buffer, nullptr);
        GstVideoInfo info;
        ASSERT_TRUE(gst_video_info_from_caps(&info, gst_pad_get_current_caps(harness->sinkpad)));
        EXPECT_EQ(GST_VIDEO_INFO_FORMAT(&info), GST_VIDEO_FORMAT_RGB);
        EXPECT_EQ(gst_buffer_get_size(buffer), GST_VIDEO_INFO_SIZE(&info));
        EXPECT_TRUE(GST_BUFFER_PTS_IS_VALID(buffer));
        means.push_back(meanOf(buffer));
        gst_buffer_unref(buffer);
    }
    EXPECT_EQ(means[0], means[2]) << "the same scene, the same settings";
    gint contrast = 0;
    g_object_get(harness->element, "contrast", &contrast, nullptr);
    EXPECT_EQ(contrast, 77);
    g_unlink(profile);
    g_free(profile);

    // Frames already captured keep the old brightness; the first captured after the change has
    // the new one. The harness holds at most what was captured before the change.
    g_object_set(harness->element, "brightness", 220, nullptr);
    const guint queued = gst_harness_buffers_in_queue(harness);
    for (guint i = 0; i < queued; ++i) {
        GstBuffer* buffer = gst_harness_pull(harness);
        EXPECT_EQ(meanOf(buffer), means[0]) << "captured before the change";
        gst_buffer_unref(buffer);
    }
    GstBuffer* later = gst_harness_pull(harness);
    GstBuffer* after = gst_harness_pull(harness);
    EXPECT_GT(meanOf(after), means[0] + 20);
    EXPECT_GE(meanOf(later), means[0]);
    gst_buffer_unref(later);
    gst_buffer_unref(after);
    gint brightness = 0;
    g_object_get(harness->element, "brightness", &brightness, nullptr);
    EXPECT_EQ(brightness, 220);

    GstQuery* latency = gst_query_new_latency();
    ASSERT_TRUE(gst_element_query(harness->element, latency));
    gboolean live = FALSE;
    GstClockTime minimum = 0, maximum = 0;
    gst_query_parse_latency(latency, &live, &minimum, &maximum);
    EXPECT_TRUE(live);
    EXPECT_GT(minimum, 0u);
    EXPECT_EQ(minimum, maximum);
    gst_query_unref(latency);

    // A smaller window while playing: the frames that follow have the new size, and the caps
    // downstream say so.
    const gsize cifBytes = 312 * 208 * 3;
    g_object_set(harness->element, "size", 1, nullptr); // qcif
    gsize bytes = cifBytes;
    for (int i = 0; i < 200 && bytes == cifBytes; ++i) {
        GstBuffer* buffer = gst_harness_pull(harness);
        bytes = gst_buffer_get_size(buffer);
        gst_buffer_unref(buffer);
    }
    GstVideoInfo info;
    GstCaps* caps = gst_pad_get_current_caps(harness->sinkpad);
    ASSERT_TRUE(gst_video_info_from_caps(&info, caps));
    gst_caps_unref(caps);
    EXPECT_LT(GST_VIDEO_INFO_WIDTH(&info), 312);
    EXPECT_EQ(bytes, GST_VIDEO_INFO_SIZE(&info));
    // A choice the camera refuses is a warning with its text, and the stream goes on.
    g_object_set(harness->element, "bus-width", 16, nullptr);
    GstMessage* warning = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND, GST_MESSAGE_WARNING);
    ASSERT_NE(warning, nullptr);
    GError* error = nullptr;
    gst_message_parse_warning(warning, &error, nullptr);
    EXPECT_NE(std::string(error->message).find("bus-width 16 cannot be chosen"), std::string::npos)
        << error->message;
    g_error_free(error);
    gst_message_unref(warning);
    gst_buffer_unref(gst_harness_pull(harness));
    gst_object_unref(bus);
    gst_harness_teardown(harness);
}

// The value of one field of a buffer's frame meta.
gint metaField(GstBuffer* buffer, const char* field) {
    GstCustomMeta* meta = gst_buffer_get_custom_meta(buffer, "OrvaneFrameMeta");
    gint value = -1;
    if (meta != nullptr)
        gst_structure_get_int(gst_custom_meta_get_structure(meta), field, &value);
    return value;
}

// Properties keep their values over a restart and are applied again; the device cannot change
// under a running camera; every buffer says which frame it is and what it was taken with.
TEST(OrvaneSrc, SettingsSurviveARestartAndEachBufferCarriesThem) {
    GstHarness* harness = gst_harness_new("orvanesrc");
    GstBus* bus = gst_bus_new();
    gst_element_set_bus(harness->element, bus);
    // A refused value is a warning at each start and holds back none of the others.
    g_object_set(harness->element, "brightness", 200, "bus-width", 16, nullptr);
    for (int run = 0; run < 2; ++run) {
        gst_harness_play(harness);
        GstBuffer* buffer = gst_harness_pull(harness);
        ASSERT_NE(buffer, nullptr);
        guint64 sequence = 0;
        GstCustomMeta* meta = gst_buffer_get_custom_meta(buffer, "OrvaneFrameMeta");
        ASSERT_NE(meta, nullptr);
        gst_structure_get_uint64(gst_custom_meta_get_structure(meta), "sequence", &sequence);
        EXPECT_EQ(sequence, 1u) << "a new camera at every start";
        EXPECT_EQ(metaField(buffer, "brightness"), 200);
        EXPECT_EQ(metaField(buffer, "contrast"), 0);
        gst_buffer_unref(buffer);
        g_object_set(harness->element, "device", "lpt9", nullptr);
        for (const char* text : {"bus-width 16 cannot be chosen", "device cannot change while"}) {
            GstMessage* warning =
                gst_bus_timed_pop_filtered(bus, 5 * GST_SECOND, GST_MESSAGE_WARNING);
            ASSERT_NE(warning, nullptr);
            GError* error = nullptr;
            gst_message_parse_warning(warning, &error, nullptr);
            EXPECT_NE(std::string(error->message).find(text), std::string::npos) << error->message;
            g_error_free(error);
            gst_message_unref(warning);
        }
        gchar* device = nullptr;
        gint brightness = 0;
        g_object_get(harness->element, "device", &device, "brightness", &brightness, nullptr);
        EXPECT_STREQ(device, "");
        EXPECT_EQ(brightness, 200);
        g_free(device);
        gst_element_set_state(harness->element, GST_STATE_NULL);
    }
    gst_object_unref(bus);
    gst_harness_teardown(harness);
}

// A profile that is a FIFO is refused at once, never waited on.
TEST(OrvaneSrc, AFifoProfileIsRefusedAtOnce) {
    const std::string fifo =
        std::string(g_get_tmp_dir()) + "/orvane-profile-" + std::to_string(getpid()) + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    GstElement* source = gst_element_factory_make("orvanesrc", nullptr);
    g_object_set(source, "profile", fifo.c_str(), nullptr);
    EXPECT_EQ(gst_element_set_state(source, GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    gst_element_set_state(source, GST_STATE_NULL);
    gst_object_unref(source);
    g_unlink(fifo.c_str());
}

// Only the kernel's parallel-port character devices are offered, never a file of that name.
TEST(OrvaneSrc, OnlyParallelPortDevicesAreListed) {
    gchar* folder = g_dir_make_tmp("orvane-dev-XXXXXX", nullptr);
    const std::string dev = folder;
    g_free(folder);
    g_file_set_contents((dev + "/parport0").c_str(), "", 0, nullptr);
    g_mkdir((dev + "/parport1").c_str(), 0700);
    mkfifo((dev + "/parport2").c_str(), 0600);
    symlink("/nowhere", (dev + "/parport3").c_str());
    const bool root = geteuid() == 0;
    if (root) {
        mknod((dev + "/parport4").c_str(), S_IFCHR | 0600, makedev(99, 0));
        mknod((dev + "/parport5").c_str(), S_IFCHR | 0600, makedev(1, 3)); // /dev/null's
    }
    const std::vector<std::string> ports = orvane::parallelPortPaths(dev);
    EXPECT_EQ(ports,
              root ? std::vector<std::string>{dev + "/parport4"} : std::vector<std::string>{});
    std::filesystem::remove_all(dev);
}

} // namespace

int main(int argc, char** argv) {
    gst_init(&argc, &argv);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    gst_deinit();
    return status;
}
