// A window's stored placement: any bytes, as read from the profile.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "settings/Binary.h"
#include "settings/ProfileStore.h"
#include "settings/SettingsDefs.h"
#include "settings/Value.h"
#include "settings/WindowPlacement.h"

namespace {

bool Same(const CWindowPlacement& a, const CWindowPlacement& b) { return a.ToBinary() == b.ToBinary(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CBinary bytes(data, size);
    const bool exact = size == std::size_t(PLACEMENT_SIZE);

    CWindowPlacement placement;
    placement.showCmd = SW_SHOWMAXIMIZED;
    const CWindowPlacement before = placement;
    FuzzCheck(placement.FromBinary(bytes) == exact, "only 44 bytes are a placement");
    FuzzCheck(exact ? placement.ToBinary() == bytes : Same(placement, before),
              "a placement reads back as stored, anything else leaves it as it was");

    // The same bytes stored as the main window's placement and read as the
    // console reads them.
    CValue value(FreshProfile());
    value.WriteBinary("Settings", "WindowPos", bytes);
    CWindowPlacement read;
    FuzzCheck(value.GetPlacement(PLACEMENT_WINDOW, read) == (exact ? 0 : -1), "GetPlacement takes only 44 bytes");
    FuzzCheck(exact ? read.ToBinary() == bytes : Same(read, CWindowPlacement()),
              "a refused placement is the built-in one");
    return 0;
}
