#pragma once
// A fixture that gives each test a fresh profile file and key file in a
// temporary folder of its own, opened as the application's store.
#include <string>

#include <sys/resource.h>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "settings/ProfileStore.h"

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Closes and opens the application's store again, reading the file anew.
    CProfileStore& Reopen();
    std::string FileText() const;
    void WriteFileText(const std::string& text) const;

    QTemporaryDir m_dir;
    std::string m_profilePath;
    std::string m_dataHome;
};

// Every byte of the file at path ("" when it cannot be read).
std::string FileBytes(const std::string& path);

// Little-endian int32 and counted text, built by hand to check stored bytes.
std::string LeInt(std::int32_t value);
std::string Counted(const std::string& text);

// While it lives, no file may grow past limit bytes, so that writing the
// whole profile fails the way a full disk makes it fail.
class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t limit);
    ~CFileSizeLimit();

private:
    rlimit m_old {};
};
