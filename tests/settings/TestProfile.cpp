#include "TestProfile.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <QDir>

void ProfileTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    m_profilePath = m_dir.path().toStdString() + "/TARNEL/Lumivex.conf";
    QDir().mkpath(m_dir.path() + "/TARNEL");
    // A key file of this test's own; the run's data folder comes back after.
    m_dataHome = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    ::setenv("XDG_DATA_HOME", (m_dir.path() + "/data").toLocal8Bit().constData(), 1);
    OpenProfile(m_profilePath);
}

void ProfileTest::TearDown() {
    CloseProfile();
    ::setenv("XDG_DATA_HOME", m_dataHome.c_str(), 1);
}

CProfileStore& ProfileTest::Reopen() { return OpenProfile(m_profilePath); }

std::string ProfileTest::FileText() const { return FileBytes(m_profilePath); }

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ProfileTest::WriteFileText(const std::string& text) const {
    std::ofstream(m_profilePath, std::ios::binary | std::ios::trunc) << text;
}

std::string LeInt(std::int32_t value) {
    auto u = static_cast<std::uint32_t>(value);
    return {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF), char(u >> 24)};
}

std::string Counted(const std::string& text) { return LeInt(std::int32_t(text.size())) + text; }

CFileSizeLimit::CFileSizeLimit(rlim_t limit) {
    std::signal(SIGXFSZ, SIG_IGN);  // a refused write fails instead of ending the test
    ::getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit lowered = m_old;
    lowered.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
}

CFileSizeLimit::~CFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_old); }
