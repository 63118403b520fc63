// A projector record's stored form as the groups read it from the profile:
// counted texts and ints, the kept login with its encrypted password and
// wrapped key, and the byte buffer's counted-field reads under it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "StoredValues.h"
#include "comm/ProjectorInfo.h"
#include "settings/Binary.h"
#include "settings/ProjectorStoredForm.h"

namespace {

// A record whose every field differs from a reset one.
CProjectorInfo Stale() {
    CProjectorInfo r;
    r.name = r.ipAddress = r.macAddress = r.model = r.inputSignal = r.serialNumber = "stale";
    r.lamp1Time = r.lamp2Time = r.ttavText = r.userName = r.password = "stale";
    r.status = r.power = r.lampState = r.lampHours = r.lampLife = r.input = r.lampMinutes = 7;
    r.rememberCredentials = 1;
    return r;
}

bool IsReset(const CProjectorInfo& r) {
    return r.SameValues(CProjectorInfo()) && r.rememberCredentials == 0 && r.userName.empty() && r.password.empty();
}

// Only identity, power and the login survive a load; the polled values wait
// for the first poll.
bool HasOnlyStoredValues(const CProjectorInfo& r) {
    CProjectorInfo polled = r;
    polled.name = polled.ipAddress = polled.macAddress = {};
    polled.power = 0;
    return polled.SameValues(CProjectorInfo());
}

void CheckLoad(const CBinary& bytes) {
    CProjectorInfo record = Stale();
    const int rc = LoadFrom(record, bytes);
    FuzzCheck(rc == 0 || rc == -1, "a load gives 0 or -1");
    if (rc != 0) {
        FuzzCheck(IsReset(record), "a failed load leaves the record reset");
        return;
    }
    FuzzCheck(HasOnlyStoredValues(record), "a loaded record holds no polled values");
    FuzzCheck(record.password.find('\0') == std::string::npos, "a decrypted password ends at its first zero byte");
    CBinary saved;
    SaveTo(record, saved);
    CProjectorInfo again;
    FuzzCheck(LoadFrom(again, saved) == 0 && SameStoredValues(record, again), "a loaded record saves and loads back");
}

// A chain of counted-field reads, chosen by the last byte, over the same bytes.
void CheckReads(const CBinary& bytes, std::uint8_t choice) {
    int position = 0;
    for (int i = 0; i < 4; ++i, choice >>= 2) {
        const int before = position;
        int expected = -1;
        switch (choice & 3) {
        case 0: {
            bytes.ReadInt(position);
            expected = before + 4;
            break;
        }
        case 1: {
            std::string text = bytes.ReadText(position);
            expected = before + 4 + int(text.size());
            break;
        }
        default: {
            CBinary block = bytes.ReadBlock(position);
            expected = before + 4 + int(block.Size());
            break;
        }
        }
        FuzzCheck(before >= 0 || position == -1, "a failed read position stays failed");
        FuzzCheck(position == -1 || (position == expected && std::uint32_t(position) <= bytes.Size()),
                  "a read moves past its count and bytes, within the buffer");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CBinary bytes(data, size);
    CheckLoad(bytes);
    CheckReads(bytes, size ? data[size - 1] : 0);
    return 0;
}
