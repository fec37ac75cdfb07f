// FileTraceSink: the bus trace into a file, for the studio's --trace option.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>

#include <orvane/camera.h>

namespace orvane {

class FileTraceSink final : public TraceOutput {
public:
    // Null when the file cannot be created.
    static std::unique_ptr<FileTraceSink> create(const std::filesystem::path& path) {
        std::FILE* file = std::fopen(path.c_str(), "w");
        if (file == nullptr)
            return nullptr;
        return std::make_unique<FileTraceSink>(file);
    }
    // Takes over an open file.
    explicit FileTraceSink(std::FILE* file) : file_(file) {}
    // A line that cannot be written is dropped, like every trace line.
    void writeLine(std::string_view line) override {
        std::fwrite(line.data(), 1, line.size(), file_.get());
    }

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
};

} // namespace orvane
