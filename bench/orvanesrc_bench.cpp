// orvanesrc ! fakesink on the simulated module at CIF: frames per second, CPU per frame, and the
// process's memory after 100, 1,000 and 5,000 frames (it should not grow). Run from the build
// tree; the plugin is looked for in the build's gst folder.
#include <gst/gst.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

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

} // namespace

int main(int argc, char** argv) {
    g_setenv("GST_PLUGIN_PATH", ORVANE_GST_PLUGIN_DIR, FALSE);
    gst_init(&argc, &argv);
    return run(100) && run(1000) && run(5000) ? 0 : 1;
}
