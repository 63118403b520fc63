#include "settings/Crypt.h"

#include <sys/stat.h>

#include <QFile>
#include <gtest/gtest.h>

#include "TestProfile.h"

namespace {

class CryptTest : public ProfileTest {
protected:
    std::string KeyFile() const { return m_dir.path().toStdString() + "/data/TARNEL/Lumivex/key"; }
};

}  // namespace

TEST_F(CryptTest, EmptyPasswordGivesEmptyBlobs) {
    CCrypt crypt;
    CBinary key("stale");
    EXPECT_TRUE(crypt.Encrypt("", key).IsEmpty());
    EXPECT_TRUE(key.IsEmpty());
    EXPECT_EQ(crypt.Decrypt(CBinary(), CBinary()), "");
}

TEST_F(CryptTest, FirstUseMakesAPrivateKeyFile) {
    CBinary key;
    EXPECT_FALSE(CCrypt().Encrypt("secret", key).IsEmpty());
    struct stat st {};
    ASSERT_EQ(::stat(KeyFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 32);
}

TEST_F(CryptTest, TwoEncryptionsDifferAndEachDecrypts) {
    CCrypt crypt;
    CBinary key1, key2;
    CBinary cipher1 = crypt.Encrypt("pass word", key1);
    CBinary cipher2 = crypt.Encrypt("pass word", key2);
    EXPECT_FALSE(cipher1 == cipher2);
    EXPECT_FALSE(key1 == key2);
    EXPECT_EQ(crypt.Decrypt(cipher1, key1), "pass word");
    EXPECT_EQ(crypt.Decrypt(cipher2, key2), "pass word");
    EXPECT_EQ(crypt.Decrypt(cipher1, key2), "");  // crossed blobs
    EXPECT_EQ(crypt.Decrypt(cipher2, key1), "");
}

TEST_F(CryptTest, PasswordsUpTo1023BytesRoundTripAnd1024Fail) {
    CCrypt crypt;
    for (std::size_t n : {1u, 2u, 15u, 16u, 17u, 255u, 1022u, 1023u}) {
        std::string password(n, 'a');
        for (std::size_t i = 0; i < n; ++i)
            password[i] = char('!' + i % 90);
        CBinary key;
        CBinary cipher = crypt.Encrypt(password, key);
        EXPECT_EQ(crypt.Decrypt(cipher, key), password) << n;
    }
    CBinary key("x");
    EXPECT_TRUE(crypt.Encrypt(std::string(1024, 'p'), key).IsEmpty());
    EXPECT_TRUE(key.IsEmpty());
}

TEST_F(CryptTest, DecryptStopsAtTheFirstZeroByte) {
    CCrypt crypt;
    CBinary key;
    CBinary cipher = crypt.Encrypt(std::string("ab\0cd", 5), key);
    EXPECT_EQ(crypt.Decrypt(cipher, key), "ab");
}

TEST_F(CryptTest, DamagedBlobsDecryptToEmpty) {
    CCrypt crypt;
    CBinary key;
    CBinary cipher = crypt.Encrypt("secret", key);
    std::string flipped = cipher.ToString();
    flipped.back() ^= 1;
    EXPECT_EQ(crypt.Decrypt(CBinary(flipped), key), "");
    EXPECT_EQ(crypt.Decrypt(cipher, CBinary(key.ToString().substr(1))), "");
    EXPECT_EQ(crypt.Decrypt(CBinary("short"), key), "");
}

TEST_F(CryptTest, UnsoundKeyFileIsRefusedAndKept) {
    CCrypt crypt;
    CBinary key;
    CBinary cipher = crypt.Encrypt("secret", key);
    ASSERT_EQ(::chmod(KeyFile().c_str(), 0644), 0);
    EXPECT_EQ(crypt.Decrypt(cipher, key), "");
    EXPECT_FALSE(crypt.LastError().empty());
    CBinary key2;
    EXPECT_TRUE(crypt.Encrypt("secret", key2).IsEmpty());
    EXPECT_TRUE(key2.IsEmpty());
    ASSERT_EQ(::chmod(KeyFile().c_str(), 0600), 0);
    EXPECT_EQ(crypt.Decrypt(cipher, key), "secret");  // the file was not replaced

    QFile file(QString::fromStdString(KeyFile()));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("x");
    file.close();
    EXPECT_EQ(crypt.Decrypt(cipher, key), "");  // 33 bytes
}

TEST_F(CryptTest, DecryptNeverMakesAKeyFile) {
    CBinary key(std::string(72, 'k'));
    EXPECT_EQ(CCrypt().Decrypt(CBinary(std::string(50, 'c')), key), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(KeyFile())));
}
