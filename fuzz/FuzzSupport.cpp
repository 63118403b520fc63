#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "settings/Crypt.h"
#include "settings/DurableFile.h"
#include "settings/ProfileStore.h"
#include "support/PerUserFolders.h"

namespace {

// The user key of every fuzz run. Fixed, so a seed's stored password blobs
// (sealed under it) decrypt and the fuzzer starts from the decrypting path.
constexpr unsigned char kFuzzUserKey[32] = {
    0x4c, 0x75, 0x6d, 0x69, 0x76, 0x65, 0x78, 0x20, 0x66, 0x75, 0x7a, 0x7a, 0x20, 0x6b, 0x65, 0x79,
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f,
};

// Made at start-up, before anything may write below it; removed at exit.
QTemporaryDir& RunRoot() {
    static QTemporaryDir root;
    return root;
}

bool WriteFixedKey() {
    const std::string path = CCrypt::DefaultKeyFilePath();
    if (!QDir().mkpath(QFileInfo(QString::fromStdString(path)).path()))
        return false;
    int fd = ReplaceFile(path, std::string_view(reinterpret_cast<const char*>(kFuzzUserKey), sizeof kFuzzUserKey),
                         0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!RunRoot().isValid() || !PointPerUserFoldersInto(RunRoot().path()) || !WriteFixedKey()) {
        std::fprintf(stderr, "fuzz: cannot make the run's private per-user folders\n");
        std::exit(1);
    }
    return 0;
}

void FuzzCheck(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "fuzz: does not hold: %s\n", what);
    std::abort();
}

const std::string& FuzzProfilePath() {
    static const std::string path = RunRoot().path().toStdString() + "/profile/Lumivex.conf";
    return path;
}

CProfileStore& FreshProfile() {
    CloseProfile();
    // The folder goes too: the store keeps copies of damaged files beside
    // the profile, and a later input must not find an earlier one's.
    QDir(QFileInfo(QString::fromStdString(FuzzProfilePath())).path()).removeRecursively();
    QDir().mkpath(QFileInfo(QString::fromStdString(FuzzProfilePath())).path());
    return OpenProfile(FuzzProfilePath());
}
