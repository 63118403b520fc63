#pragma once
// CWindowPlacement: a window's stored placement, kept in the 44-byte layout
// the store has always held (length, flags, show command, minimised and
// maximised points, normal rectangle; little-endian int32s). The windows fill
// it from their geometry and apply it back; readers use the show command and
// the normal rectangle.
#include <cstdint>

#include "settings/Binary.h"
#include "settings/SettingsDefs.h"

class CWindowPlacement {
public:
    std::int32_t length = PLACEMENT_SIZE;
    std::int32_t flags = 0;
    std::int32_t showCmd = 0;
    std::int32_t minX = 0, minY = 0;
    std::int32_t maxX = 0, maxY = 0;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    CBinary ToBinary() const;
    // False (and this unchanged) unless bytes holds exactly 44 bytes.
    bool FromBinary(const CBinary& bytes);
};
