// Which vector loops of ours the conversions may use: what the processor has, less what
// ORVANE_CPU withholds. ORVANE_CPU=scalar runs the plain loops only, so every path can be run
// and compared on one machine; tests pass the features they want.
#pragma once

namespace orvane {

struct CpuFeatures {
    bool avx2 = false;
    friend bool operator==(const CpuFeatures&, const CpuFeatures&) = default;
};

// What the processor offers.
CpuFeatures processorFeatures();

// What the conversions use: the processor's features, none with ORVANE_CPU=scalar.
CpuFeatures conversionFeatures();

} // namespace orvane
