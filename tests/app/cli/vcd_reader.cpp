// Reading Value Change Dumps back for the tests.
#include "vcd_reader.h"

#include <fstream>
#include <map>

namespace orvane::testing {

int VcdRecording::signal(std::string_view name) const {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<VcdRecording> readVcd(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path.string();
        return std::nullopt;
    }
    VcdRecording recording;
    std::map<std::string, std::size_t> ids;
    std::string word;
    // Header: sections from $keyword to $end.
    while (in >> word && word != "$enddefinitions") {
        std::vector<std::string> contents;
        std::string item;
        while (in >> item && item != "$end")
            contents.push_back(item);
        if (word == "$timescale" && contents.size() == 1) {
            recording.timescale = contents[0];
        } else if (word == "$var") {
            if (contents.size() != 4 || contents[1] != "1") {
                error = "not a one-bit $var";
                return std::nullopt;
            }
            ids[contents[2]] = recording.names.size();
            recording.names.push_back(contents[3]);
        }
    }
    if (!(in >> word) || word != "$end") {
        error = "no $enddefinitions";
        return std::nullopt;
    }

    std::vector<int8_t> levels(recording.names.size(), unknownLevel);
    int64_t time = -1;
    while (in >> word) {
        if (word == "$dumpvars" || word == "$end")
            continue;
        if (word[0] == '#') {
            const int64_t next = std::stoll(word.substr(1));
            if (next <= time) {
                error = "time goes back at " + word;
                return std::nullopt;
            }
            // The levels so far hold from the previous stamp up to this one.
            while (time >= 0 && static_cast<int64_t>(recording.steps.size()) < next)
                recording.steps.push_back(levels);
            time = next;
            continue;
        }
        const auto id = ids.find(word.substr(1));
        if (time < 0 || id == ids.end() ||
            std::string_view("01x").find(word[0]) == std::string::npos) {
            error = "unexpected value change " + word;
            return std::nullopt;
        }
        levels[id->second] = word[0] == 'x' ? unknownLevel : static_cast<int8_t>(word[0] - '0');
    }
    return recording;
}

BusDecoder decodeBus(const VcdRecording& recording) {
    BusDecoder decoder;
    const int scl = recording.signal("scl");
    const int sda = recording.signal("sda");
    for (const std::vector<int8_t>& levels : recording.steps) {
        if (levels[scl] != unknownLevel && levels[sda] != unknownLevel)
            decoder.step(levels[scl] == 1, levels[sda] == 1);
    }
    return decoder;
}

std::vector<uint8_t> dataReads(const VcdRecording& recording) {
    std::vector<uint8_t> bytes;
    const int read = recording.signal("read");
    int lines[8];
    for (int bit = 0; bit < 8; ++bit)
        lines[bit] = recording.signal("d" + std::to_string(bit));
    for (const std::vector<int8_t>& levels : recording.steps) {
        if (levels[read] != 1)
            continue;
        uint8_t byte = 0;
        for (int bit = 0; bit < 8; ++bit)
            byte = static_cast<uint8_t>(byte | (levels[lines[bit]] == 1 ? 1 << bit : 0));
        bytes.push_back(byte);
    }
    return bytes;
}

std::size_t risingEdges(const VcdRecording& recording, std::string_view name) {
    const int signal = recording.signal(name);
    std::size_t edges = 0;
    for (std::size_t t = 1; t < recording.steps.size(); ++t) {
        if (recording.steps[t - 1][signal] == 0 && recording.steps[t][signal] == 1)
            ++edges;
    }
    return edges;
}

} // namespace orvane::testing
