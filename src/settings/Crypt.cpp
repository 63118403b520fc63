#include "settings/Crypt.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <sodium.h>

#include "settings/DurableFile.h"
#include "settings/SettingsDefs.h"

namespace {

constexpr std::size_t kKeySize = crypto_secretbox_KEYBYTES;
constexpr std::size_t kNonceSize = crypto_secretbox_NONCEBYTES;
constexpr std::size_t kMacSize = crypto_secretbox_MACBYTES;
// A wrapped session key: nonce, then the sealed 32 bytes.
constexpr std::size_t kWrappedKeySize = kNonceSize + kMacSize + kKeySize;

static_assert(kKeySize == 32, "the key file holds 32 bytes");

// Wipes a key when it leaves scope, whichever way.
class CKeyBuffer {
public:
    CKeyBuffer() = default;
    CKeyBuffer(const CKeyBuffer&) = delete;
    CKeyBuffer& operator=(const CKeyBuffer&) = delete;
    ~CKeyBuffer() { sodium_memzero(m_key, sizeof m_key); }
    unsigned char* Get() { return m_key; }

private:
    unsigned char m_key[kKeySize] = {};
};

// nonce || secretbox(plain), the form of both stored blobs.
CBinary Seal(const unsigned char* plain, std::size_t n, const unsigned char* key) {
    std::string sealed(kNonceSize + kMacSize + n, '\0');
    auto* out = reinterpret_cast<unsigned char*>(sealed.data());
    randombytes_buf(out, kNonceSize);
    crypto_secretbox_easy(out + kNonceSize, plain, n, out, key);
    return CBinary(sealed);
}

// False when the blob is too short or does not authenticate under key.
bool Open(const CBinary& sealed, const unsigned char* key, std::string& plain) {
    if (sealed.Size() < kNonceSize + kMacSize)
        return false;
    const unsigned char* nonce = sealed.Data();
    plain.assign(sealed.Size() - kNonceSize - kMacSize, '\0');
    return crypto_secretbox_open_easy(reinterpret_cast<unsigned char*>(plain.data()), sealed.Data() + kNonceSize,
                                      sealed.Size() - kNonceSize, nonce, key) == 0;
}

std::string ErrnoText(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// The key's folder is private to the user; parents are made as usual.
bool MakePrivateFolder(const std::string& folder) {
    std::string parent = QFileInfo(QString::fromStdString(folder)).path().toStdString();
    if (!QDir().mkpath(QString::fromStdString(parent)))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

CCrypt::CCrypt() : CCrypt(DefaultKeyFilePath()) {}

CCrypt::CCrypt(std::string keyFilePath) : m_keyFilePath(std::move(keyFilePath)) {
    if (sodium_init() < 0)
        m_lastError = "the cryptographic library cannot start";
}

CCrypt::~CCrypt() = default;

std::string CCrypt::DefaultKeyFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
           "/TARNEL/Lumivex/key";
}

bool CCrypt::Fail(std::string why) {
    m_lastError = std::move(why);
    return false;
}

CBinary CCrypt::Encrypt(const std::string& password, CBinary& key) {
    key.Clear();
    m_lastError.clear();
    if (password.empty())
        return {};
    if (password.size() >= MAX_PASSWORD_BYTES) {
        Fail("the password is longer than " + std::to_string(MAX_PASSWORD_BYTES - 1) + " bytes");
        return {};
    }
    CKeyBuffer userKey;
    if (sodium_init() < 0)
        return {};
    KeyState state = ReadUserKey(userKey.Get());
    if (state == KeyState::Missing && CreateUserKey(userKey.Get()))
        state = KeyState::Ok;
    if (state != KeyState::Ok)
        return {};
    CKeyBuffer sessionKey;
    crypto_secretbox_keygen(sessionKey.Get());
    CBinary cipher = Seal(reinterpret_cast<const unsigned char*>(password.data()), password.size(), sessionKey.Get());
    key = Seal(sessionKey.Get(), kKeySize, userKey.Get());
    return cipher;
}

std::string CCrypt::Decrypt(const CBinary& cipher, const CBinary& key) {
    m_lastError.clear();
    if (cipher.IsEmpty())
        return {};
    CKeyBuffer userKey;
    if (sodium_init() < 0 || ReadUserKey(userKey.Get()) != KeyState::Ok)
        return {};
    std::string sessionKey;
    std::string password;
    bool ok = key.Size() == kWrappedKeySize && Open(key, userKey.Get(), sessionKey) &&
              Open(cipher, reinterpret_cast<const unsigned char*>(sessionKey.data()), password);
    sodium_memzero(sessionKey.data(), sessionKey.size());
    if (!ok) {
        Fail("the stored password does not match this user's key");
        return {};
    }
    return password.substr(0, password.find('\0'));
}

CCrypt::KeyState CCrypt::ReadUserKey(unsigned char* key) {
    int fd = ::open(m_keyFilePath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        bool missing = errno == ENOENT;
        Fail(ErrnoText("cannot open the key file", m_keyFilePath));
        return missing ? KeyState::Missing : KeyState::Bad;
    }
    struct stat st {};
    // Another user's key, or one others may read, must not be trusted or used;
    // a present but unsound file is never replaced either.
    bool sound = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                 (st.st_mode & 077) == 0 && st.st_size == off_t(kKeySize);
    bool read = sound && ReadAll(fd, key, kKeySize);
    ::close(fd);
    if (!sound) {
        Fail("the key file " + m_keyFilePath + " must be a 32-byte file of this user with mode 0600");
        return KeyState::Bad;
    }
    if (!read) {
        Fail("cannot read the key file " + m_keyFilePath);
        return KeyState::Bad;
    }
    return KeyState::Ok;
}

bool CCrypt::CreateUserKey(unsigned char* key) {
    std::string folder = QFileInfo(QString::fromStdString(m_keyFilePath)).path().toStdString();
    if (!MakePrivateFolder(folder))
        return Fail(ErrnoText("cannot make the key folder", folder));
    // Written under a temporary name and linked into place, so that a
    // concurrent reader never sees half a key and the first of two racing
    // creators wins.
    std::string temp = m_keyFilePath + ".XXXXXX";
    int fd = ::mkstemp(temp.data());  // mode 0600
    if (fd < 0)
        return Fail(ErrnoText("cannot create", temp));
    CKeyBuffer fresh;
    randombytes_buf(fresh.Get(), kKeySize);
    bool written = WriteAll(fd, fresh.Get(), kKeySize) && ::fsync(fd) == 0;
    ::close(fd);
    bool linked = written && ::link(temp.c_str(), m_keyFilePath.c_str()) == 0;
    int linkError = errno;
    ::unlink(temp.c_str());
    if (!written || (!linked && linkError != EEXIST)) {  // EEXIST: another process made it first
        errno = linkError;
        return Fail(ErrnoText("cannot write the key file", m_keyFilePath));
    }
    SyncFolder(folder);
    return ReadUserKey(key) == KeyState::Ok;
}
