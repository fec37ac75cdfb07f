// The processor's features and ORVANE_CPU.
#include "image/cpu_features.h"

#include <cstdlib>
#include <string_view>

#include "image/avx2_support.h"

namespace orvane {

CpuFeatures processorFeatures() {
    return CpuFeatures{processorHasAvx2()};
}

CpuFeatures conversionFeatures() {
    const char* setting = std::getenv("ORVANE_CPU");
    if (setting != nullptr && std::string_view(setting) == "scalar")
        return CpuFeatures{};
    return processorFeatures();
}

} // namespace orvane
