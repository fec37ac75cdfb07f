// Icon 133: the application's own artwork, a small camera, as 32 x 32 pixel rows and a palette.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace orvane {

struct IconPaletteEntry {
    char key;
    uint32_t argb; // 0 = transparent
};

constexpr std::array<IconPaletteEntry, 10> appIconPalette{{
    {'.', 0x00000000},
    {'k', 0xFF1E2228}, // outline
    {'l', 0xFF9AA6B2}, // top plate
    {'g', 0xFF4E5A66}, // body
    {'s', 0xFFC8CED4}, // lens ring
    {'b', 0xFF1E3C78}, // lens glass
    {'c', 0xFF4A7CD0}, // lens centre
    {'w', 0xFFF4F8FF}, // highlight
    {'r', 0xFFD83A3A}, // record lamp
    {'y', 0xFFF2D052}, // flash
}};

constexpr int appIconSize = 32;

constexpr std::array<std::string_view, appIconSize> appIconRows{{
    "................................", "................................",
    "................................", "................................",
    "................................", "................................",
    ".................kkkkkkkkk......", ".....kkkkkk......klllllllk......",
    ".....kyyyyk......klllllllk......", ".....kyyyyk......klllllllk......",
    "...kkkkkkkkkkkkkkkkkkkkkkkkkk...", "..kkllllllllllllllllllllllllkk..",
    "..klllllllllkkkkkkkklllllllllk..", "..kllllllllkksssssskkllllrrllk..",
    "..kgggggggksssbbbbssskggrrrrgk..", "..kggggggkksbbbbbbbbskkgrrrrgk..",
    "..kggggggkssbwwcccbbsskggrrggk..", "..kggggggksbbwwwcccbbskggggggk..",
    "..kggggggksbbcwccccbbskggggggk..", "..kggggggksbbccccccbbskggggggk..",
    "..kggggggksbbccccccbbskggggggk..", "..kggggggkssbbccccbbsskggggggk..",
    "..kggggggkksbbbbbbbbskkggggggk..", "..kgggggggksssbbbbssskgggggggk..",
    "..kggggggggkksssssskkggggggggk..", "..kgggggggggkkkkkkkkgggggggggk..",
    "..kkggggggggggggggggggggggggkk..", "...kkkkkkkkkkkkkkkkkkkkkkkkkk...",
    "................................", "................................",
    "................................", "................................",
}};

// The colour of a palette key; transparent for an unknown key.
constexpr uint32_t appIconColour(char key) {
    for (const IconPaletteEntry& entry : appIconPalette) {
        if (entry.key == key)
            return entry.argb;
    }
    return 0;
}

} // namespace orvane
