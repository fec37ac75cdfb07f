// orvanesrc ! fakesink on the simulated module at CIF: frames per second, CPU per frame, and the
// process's memory after 100, 1,000 and 5,000 frames (it should not grow), and how long a
// property change keeps the application waiting while it streams. Run from the build tree; the
// plugin is looked for in the build's gst folder.
#include <gst/gst.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Resident memory now, in KiB (VmRSS of /proc/self/status).
long residentKib() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        long value = 0;
        if (key == "VmRSS:" && status >> value)
            return value;
        status.ignore(1 << 10, '\n');
    }
    return -1;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the pipeline for frames buffers and prints what it cost.
bool run(int frames) {
    const std::string description =
        "orvanesrc num-buffers=" + std::to_string(frames) + " ! fakesink sync=false";
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (pipeline == nullptr) {
        std::fprintf(stderr, "orvanesrc_bench: %s\n", error->message);
        g_error_free(error);
        return false;
    }
    const double cpuBefore = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* end = gst_bus_timed_pop_filtered(
        bus, GST_CLOCK_TIME_NONE, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuBefore;
    const bool finished = GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    if (!finished) {
        std::fprintf(stderr, "orvanesrc_bench: the pipeline failed\n");
        return false;
    }
    std::printf("%5d frames: %6.1f frames/s, %.2f ms CPU a frame, %ld KiB resident\n", frames,
                frames / seconds, 1000.0 * cpu / frames, residentKib());
    return true;
}

// Sets a control 100 times while the element streams into fakesink sync=false, and prints how
// long the application's thread waited in set_property: a change is queued, never waits for
// the capture under way.
bool setWhilePlaying() {
    GstElement* pipeline = gst_parse_launch("orvanesrc name=source ! fakesink sync=false", nullptr);
    if (pipeline == nullptr)
        return false;
    GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline), "source");
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    gst_element_get_state(pipeline, nullptr, nullptr, GST_CLOCK_TIME_NONE);
    std::vector<double> waits;
    for (int i = 0; i < 100; ++i) {
        const auto start = std::chrono::steady_clock::now();
        g_object_set(source, "brightness", 60 + i, nullptr);
        waits.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        g_usleep(2000);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(source);
    gst_object_unref(pipeline);
    std::sort(waits.begin(), waits.end());
    std::printf("set_property while playing: median %.3f ms, worst %.3f ms over %zu changes\n",
                waits[waits.size() / 2], waits.back(), waits.size());
    return waits.back() < 1.0;
}

} // namespace

int main(int argc, char** argv) {
    g_setenv("GST_PLUGIN_PATH", ORVANE_GST_PLUGIN_DIR, FALSE);
    gst_init(&argc, &argv);
    return run(100) && run(1000) && run(5000) && setWhilePlaying() ? 0 : 1;
}
