// orvanesrc in a harness: buffers of the negotiated size, a control changed while playing shows
// in the frames after it and in none before, and the latency is one frame's time.
#include <glib/gstdio.h>
#include <gst/check/gstharness.h>
#include <gst/gst.h>
#include <gst/video/video.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <numeric>
#include <string>

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
    g_object_set(harness->element, "brightness", 60, nullptr);
    // A profile is applied as the camera opens; the properties set come on top of it.
    gchar* profile = nullptr;
    const gint descriptor = g_file_open_tmp("orvane-XXXXXX.txt", &profile, nullptr);
    ASSERT_GE(descriptor, 0);
    close(descriptor);
    ASSERT_TRUE(g_file_set_contents(profile, "contrast = 77\nbrightness = 10\n", -1, nullptr));
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

} // namespace

int main(int argc, char** argv) {
    gst_init(&argc, &argv);
    testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    gst_deinit();
    return status;
}
