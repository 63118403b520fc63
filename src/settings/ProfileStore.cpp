#include "settings/ProfileStore.h"

#include <cerrno>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include "settings/DurableFile.h"
#include "settings/FileLock.h"

namespace {

constexpr int kMaxDamagedCopies = 10;
// Another writer holds the lock for one file replacement; a lock held far
// longer belongs to a stopped process, and the write fails rather than wait.
constexpr int kLockTimeoutMs = 5000;
constexpr mode_t kPrivateMode = S_IRUSR | S_IWUSR;

std::int64_t Nanoseconds(const timespec& time) { return std::int64_t(time.tv_sec) * 1000000000 + time.tv_nsec; }

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

CProfileStore::CProfileStore(std::string path) : m_path(std::move(path)) {}

CProfileStore::~CProfileStore() {
    Flush();
    Forget();
}

std::string CProfileStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
           "/TARNEL/Lumivex.conf";
}

CProfileStore::FileStamp CProfileStore::StampOf(const struct stat& st) {
    return {true, st.st_dev, st.st_ino, st.st_size, Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
}

void CProfileStore::Refresh() {
    struct stat st {};
    FileStamp now;
    if (::stat(m_path.c_str(), &st) == 0)
        now = StampOf(st);
    if (!m_known || !(now == m_stamp))
        Reload();
}

void CProfileStore::Reload() {
    Forget();
    m_document.Clear();
    m_stamp = {};
    m_state = FileState::Clean;
    int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // A missing file is an empty store; one that cannot be read must not
        // be replaced by what little this store would write into it.
        m_state = errno == ENOENT ? FileState::Clean : FileState::Unreadable;
        m_known = errno == ENOENT;
    } else {
        struct stat st {};
        std::string data;
        bool read = ::fstat(fd, &st) == 0;
        if (read) {
            data.reserve(std::size_t(st.st_size));
            read = ReadToEnd(fd, data);
        }
        if (!read) {
            m_state = FileState::Unreadable;
        } else if (!m_document.Parse(data)) {
            CIniDocument::Reading reading = m_document.ParseLeniently(data);
            if (reading != CIniDocument::Reading::Clean)
                m_state = reading == CIniDocument::Reading::Damaged ? FileState::Damaged : FileState::Unreadable;
        }
        m_stamp = StampOf(st);
        m_known = true;
        Hold(fd);
    }
    // This store's own changes not yet written stay on top of what was read.
    m_dirty = false;
    for (const Change& change : m_pending)
        m_dirty = Apply(change) || m_dirty;
}

void CProfileStore::Forget() {
    m_known = false;
    Hold(-1);
}

void CProfileStore::Hold(int fd) {
    if (m_heldFd >= 0)
        ::close(m_heldFd);
    m_heldFd = fd;
}

const CIniDocument::Value* CProfileStore::Find(std::string_view section, std::string_view name) {
    Refresh();
    return m_document.Find(section, name);
}

bool CProfileStore::ReadInt(std::string_view section, std::string_view name, std::int32_t& out) {
    const CIniDocument::Value* value = Find(section, name);
    if (!value)
        return false;
    bool ok = false;
    qlonglong number = ToQString(value->bytes).trimmed().toLongLong(&ok);
    if (!ok || number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::uint32_t>::max())
        return false;
    out = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    return true;
}

bool CProfileStore::ReadText(std::string_view section, std::string_view name, std::string& out) {
    const CIniDocument::Value* value = Find(section, name);
    if (!value)
        return false;
    out = value->bytes;
    return true;
}

bool CProfileStore::ReadBinary(std::string_view section, std::string_view name, CBinary& out) {
    const CIniDocument::Value* value = Find(section, name);
    if (!value)
        return false;
    out = CBinary(value->bytes);
    return true;
}

bool CProfileStore::WriteInt(std::string_view section, std::string_view name, std::int32_t value) {
    return Record({false, std::string(section), std::string(name), CIniDocument::Text(std::to_string(value))});
}

bool CProfileStore::WriteText(std::string_view section, std::string_view name, std::string_view value) {
    return Record({false, std::string(section), std::string(name), CIniDocument::Text(value)});
}

bool CProfileStore::WriteBinary(std::string_view section, std::string_view name, const CBinary& value) {
    std::string_view bytes(reinterpret_cast<const char*>(value.Data()), value.Size());
    return Record({false, std::string(section), std::string(name), CIniDocument::Bytes(bytes)});
}

bool CProfileStore::RemoveSection(std::string_view section) {
    return Record({true, std::string(section), {}, {}});
}

std::vector<std::string> CProfileStore::SectionNames() {
    Refresh();
    return m_document.SectionNames();
}

std::vector<std::string> CProfileStore::ValueNames(std::string_view section) {
    Refresh();
    return m_document.ValueNames(section);
}

bool CProfileStore::Apply(const Change& change) {
    return change.removeSection ? m_document.RemoveSection(change.section)
                                : m_document.Set(change.section, change.name, change.value);
}

bool CProfileStore::Record(Change change) {
    Refresh();
    if (!Apply(change))
        return true;  // the file holds it already
    m_pending.push_back(std::move(change));
    m_dirty = true;
    if (m_batchDepth > 0 || ScheduleForTurnEnd())
        return true;
    return Flush();
}

bool CProfileStore::ScheduleForTurnEnd() {
    if (!QCoreApplication::instance() || QThread::currentThread()->loopLevel() == 0)
        return false;
    if (!m_turnEnd) {
        // A zero timer fires once the events of the current turn are handled.
        m_turnEnd = std::make_unique<QTimer>();
        m_turnEnd->setSingleShot(true);
        m_turnEnd->setInterval(0);
        QObject::connect(m_turnEnd.get(), &QTimer::timeout, [this] { Flush(); });
    }
    m_turnEnd->start();
    return true;
}

void CProfileStore::BeginBatch() { ++m_batchDepth; }

bool CProfileStore::EndBatch() {
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return true;
    return Flush();
}

bool CProfileStore::Flush() {
    if (m_pending.empty())
        return true;
    std::string target = TargetPath();
    CFileLock lock(target + ".lock");
    bool ok = QDir().mkpath(QFileInfo(ToQString(target)).absolutePath()) && lock.Acquire(kLockTimeoutMs);
    if (ok) {
        Refresh();  // what the file holds now, this store's changes on top
        ok = !m_dirty || WriteFile(target);
    }
    m_pending.clear();
    m_dirty = false;
    if (!ok)
        Forget();  // the next access reads the file as it stayed
    return ok;
}

bool CProfileStore::WriteFile(const std::string& target) {
    if (m_state == FileState::Unreadable)
        return false;
    if (m_state == FileState::Damaged && !KeepDamagedFile())
        return false;
    // The store holds login names and encrypted passwords: private unless
    // the user chose otherwise for the existing file.
    struct stat st {};
    mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : kPrivateMode;
    int fd = ReplaceFile(target, m_document.Serialize(), mode);
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_stamp = StampOf(st);
    m_known = true;
    Hold(fd);
    m_state = FileState::Clean;
    return true;
}

bool CProfileStore::KeepDamagedFile() {
    // What QSettings could not parse is dropped by the next write, so the
    // bytes are kept aside first.
    QString path = ToQString(m_path);
    for (int i = 0; i < kMaxDamagedCopies; ++i) {
        QString copy = path + QStringLiteral(".damaged") + (i ? QStringLiteral(".%1").arg(i) : QString());
        if (QFileInfo::exists(copy))
            continue;
        if (!QFile::copy(path, copy))
            return false;
        m_damagedCopyPath = copy.toStdString();
        return true;
    }
    return false;
}

std::string CProfileStore::TargetPath() const {
    // A link is followed: the file it points to is replaced, not the link.
    QFileInfo info(ToQString(m_path));
    return (info.exists() ? info.canonicalFilePath() : info.absoluteFilePath()).toStdString();
}

CProfileBatch::CProfileBatch(CProfileStore& store) : m_store(store) { m_store.BeginBatch(); }

CProfileBatch::~CProfileBatch() { Commit(); }

bool CProfileBatch::Commit() {
    if (!m_open)
        return true;
    m_open = false;
    return m_store.EndBatch();
}

namespace {

std::unique_ptr<CProfileStore>& ApplicationStore() {
    static std::unique_ptr<CProfileStore> store;
    return store;
}

}  // namespace

CProfileStore& OpenProfile(const std::string& path) {
    auto& store = ApplicationStore();
    store.reset();
    store = std::make_unique<CProfileStore>(path.empty() ? CProfileStore::DefaultPath() : path);
    return *store;
}

CProfileStore& CurrentProfile() {
    auto& store = ApplicationStore();
    return store ? *store : OpenProfile();
}

void CloseProfile() { ApplicationStore().reset(); }
