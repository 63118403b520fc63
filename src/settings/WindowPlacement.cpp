#include "settings/WindowPlacement.h"

CBinary CWindowPlacement::ToBinary() const {
    CBinary bytes;
    for (std::int32_t field : {length, flags, showCmd, minX, minY, maxX, maxY, left, top, right, bottom})
        bytes.AppendInt(field);
    return bytes;
}

bool CWindowPlacement::FromBinary(const CBinary& bytes) {
    if (bytes.Size() != PLACEMENT_SIZE)
        return false;
    int position = 0;
    for (std::int32_t* field : {&length, &flags, &showCmd, &minX, &minY, &maxX, &maxY, &left, &top, &right, &bottom})
        *field = bytes.ReadInt(position);
    return true;
}
