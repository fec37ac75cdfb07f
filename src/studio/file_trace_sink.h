// FileTraceSink: the bus trace into a file, for the studio's --trace option.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>

#include <orvane/camera.h>

#include <string>

#include "files/output_file.h"

namespace orvane {

class FileTraceSink final : public TraceOutput {
public:
    // Null, with error set, when the file cannot be created; a pipe without a reader is refused
    // at once rather than waited for.
    static std::unique_ptr<FileTraceSink> create(const std::filesystem::path& path,
                                                 std::string& error) {
        OpenedOutput opened = openOutputFile(path);
        if (!opened.file) {
            error = opened.error;
            return nullptr;
        }
        return std::make_unique<FileTraceSink>(std::move(opened.file));
    }
    explicit FileTraceSink(OutputFile file) : file_(std::move(file)) {}
    // A line that cannot be written is dropped, like every trace line, and noted.
    void writeLine(std::string_view line) override {
        if (file_ && std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size())
            complete_ = false;
    }
    // Closes the file; false when some of the trace did not reach it.
    bool close() {
        if (file_ && std::fclose(file_.release()) != 0)
            complete_ = false;
        return complete_;
    }

private:
    OutputFile file_;
    bool complete_ = true;
};

} // namespace orvane
