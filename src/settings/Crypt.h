#pragma once
// CCrypt: encrypts a board password for the profile store so that only the
// same user on this workstation can read it back. A 32-byte per-user key lives
// in a file of its own (mode 0600) outside the store; every encryption makes a
// fresh session key, seals the password with it, and stores the session key
// sealed by the per-user key. Made on the stack by the record's save and load.
#include <string>

#include "settings/Binary.h"

class CCrypt {
public:
    CCrypt();                                  // the user's key file
    explicit CCrypt(std::string keyFilePath);  // another key file (tests, tools)
    virtual ~CCrypt();

    // The cipher text; key is emptied and receives the wrapped session key.
    // Both are empty for an empty password, a password of MAX_PASSWORD_BYTES
    // or more, or when the key file cannot be made or read.
    CBinary Encrypt(const std::string& password, CBinary& key);
    // The password up to its first zero byte; "" when anything does not match.
    // Never creates the key file.
    std::string Decrypt(const CBinary& cipher, const CBinary& key);

    // Why the last call gave empty results ("" when it did not fail).
    const std::string& LastError() const { return m_lastError; }

    static std::string DefaultKeyFilePath();

private:
    enum class KeyState { Ok, Missing, Bad };
    KeyState ReadUserKey(unsigned char* key);
    bool CreateUserKey(unsigned char* key);
    bool Fail(std::string why);

    std::string m_keyFilePath;
    std::string m_lastError;
};
