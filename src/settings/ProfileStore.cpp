#include "settings/ProfileStore.h"

#include <atomic>
#include <cstdio>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "settings/DurableFile.h"

namespace {

constexpr int kMaxDamagedCopies = 10;

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString Key(std::string_view section, std::string_view name) {
    return ToQString(section) + QLatin1Char('/') + ToQString(name);
}

// A list written by hand without quotes reads back as several strings; the
// readers want the text as written.
QByteArray VariantBytes(const QVariant& value) {
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toUtf8();
    return value.toString().toUtf8();
}

// QSettings caches a parsed file by its name and trusts the cache while the
// file's size and time stamp look unchanged, which a quick rewrite can fool.
// Every read and write therefore goes through a name used only once.
QString OneTimeName(const QString& path, const char* purpose) {
    static std::atomic<unsigned> serial{0};
    return path + QStringLiteral(".%1-%2-%3").arg(QLatin1String(purpose)).arg(::getpid()).arg(++serial);
}

}  // namespace

CProfileStore::CProfileStore(std::string path) : m_path(std::move(path)) { Open(); }

CProfileStore::~CProfileStore() = default;

std::string CProfileStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
           "/TARNEL/Lumivex.conf";
}

void CProfileStore::Open() {
    QString path = ToQString(m_path);
    QString alias = OneTimeName(path, "read");
    bool linked = ::linkat(AT_FDCWD, m_path.c_str(), AT_FDCWD, QFile::encodeName(alias).constData(),
                           AT_SYMLINK_FOLLOW) == 0;
    {
        QSettings reader(linked ? alias : path, QSettings::IniFormat);
        // A file Qt could not fully parse (or read) is only partly understood;
        // writing it back would drop the rest, so it is copied aside first.
        m_damaged = reader.status() != QSettings::NoError;
        m_values.clear();
        for (const QString& key : reader.allKeys()) {
            // A line without a name ("=x") has no value that could be kept.
            QVariant value = reader.value(key);
            if (value.isValid() && !key.endsWith(QLatin1Char('/')))
                m_values.insert(key, value);
        }
    }
    if (linked)
        QFile::remove(alias);
    m_committed = m_values;
}

bool CProfileStore::ReadInt(std::string_view section, std::string_view name, std::int32_t& out) const {
    auto it = m_values.constFind(Key(section, name));
    if (it == m_values.constEnd())
        return false;
    bool ok = false;
    qlonglong number = QString::fromUtf8(VariantBytes(*it)).trimmed().toLongLong(&ok);
    if (!ok || number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::uint32_t>::max())
        return false;
    out = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
    return true;
}

bool CProfileStore::ReadText(std::string_view section, std::string_view name, std::string& out) const {
    auto it = m_values.constFind(Key(section, name));
    if (it == m_values.constEnd())
        return false;
    out = VariantBytes(*it).toStdString();
    return true;
}

bool CProfileStore::ReadBinary(std::string_view section, std::string_view name, CBinary& out) const {
    auto it = m_values.constFind(Key(section, name));
    if (it == m_values.constEnd())
        return false;
    QByteArray bytes = VariantBytes(*it);
    out = CBinary(bytes.constData(), std::size_t(bytes.size()));
    return true;
}

bool CProfileStore::WriteInt(std::string_view section, std::string_view name, std::int32_t value) {
    return Write(Key(section, name), QVariant(value));
}

bool CProfileStore::WriteText(std::string_view section, std::string_view name, std::string_view value) {
    return Write(Key(section, name), QVariant(ToQString(value)));
}

bool CProfileStore::WriteBinary(std::string_view section, std::string_view name, const CBinary& value) {
    return Write(Key(section, name),
                 QVariant(QByteArray(reinterpret_cast<const char*>(value.Data()), qsizetype(value.Size()))));
}

bool CProfileStore::Write(const QString& key, const QVariant& value) {
    if (!MayWrite())
        return false;
    m_values.insert(key, value);
    return m_batchDepth > 0 || Commit();
}

bool CProfileStore::RemoveSection(std::string_view section) {
    if (!MayWrite())
        return false;
    QString prefix = ToQString(section) + QLatin1Char('/');
    for (auto it = m_values.lowerBound(prefix); it != m_values.end() && it.key().startsWith(prefix);)
        it = m_values.erase(it);
    return m_batchDepth > 0 || Commit();
}

std::vector<std::string> CProfileStore::SectionNames() const {
    std::vector<std::string> names;
    for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it) {
        qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        std::string name = it.key().left(slash).toStdString();
        if (slash > 0 && (names.empty() || names.back() != name))
            names.push_back(name);
    }
    return names;
}

std::vector<std::string> CProfileStore::ValueNames(std::string_view section) const {
    std::vector<std::string> names;
    QString prefix = ToQString(section) + QLatin1Char('/');
    for (auto it = m_values.lowerBound(prefix); it != m_values.constEnd() && it.key().startsWith(prefix); ++it) {
        QString name = it.key().mid(prefix.size());
        if (!name.contains(QLatin1Char('/')))
            names.push_back(name.toStdString());
    }
    return names;
}

void CProfileStore::BeginBatch() { ++m_batchDepth; }

bool CProfileStore::EndBatch() {
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return !m_batchFailed;
    bool ok = !m_batchFailed && Commit();
    if (!ok)
        m_values = m_committed;
    m_batchFailed = false;
    return ok;
}

bool CProfileStore::MayWrite() {
    if (m_damaged && KeepDamagedFile())
        m_damaged = false;
    if (m_damaged && m_batchDepth > 0)
        m_batchFailed = true;
    return !m_damaged;
}

bool CProfileStore::KeepDamagedFile() {
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

bool CProfileStore::Commit() {
    if (WriteFile()) {
        m_committed = m_values;
        return true;
    }
    m_values = m_committed;
    return false;
}

bool CProfileStore::WriteFile() const {
    // Replace the file a link points to, not the link.
    QFileInfo info(ToQString(m_path));
    QString target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QString temp = OneTimeName(target, "new");
    bool written = false;
    {
        // QSettings writes the temporary file through a save-file of its own
        // and flushes it to disk before it appears under its name.
        QSettings writer(temp, QSettings::IniFormat);
        for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it)
            writer.setValue(it.key(), it.value());
        writer.sync();
        written = writer.status() == QSettings::NoError;
    }
    // The store holds login names and encrypted passwords: private unless
    // the user chose otherwise for the existing file.
    QFileDevice::Permissions mode = info.exists() ? QFile::permissions(target)
                                                  : QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!written || !HoldsValues(temp) || !QFile::setPermissions(temp, mode) ||
        std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temp);
        return false;
    }
    SyncFolder(folder.toStdString());
    return true;
}

bool CProfileStore::HoldsValues(const QString& file) const {
    // QSettings reports success even when the disk refused part of the file
    // (a full disk, a size limit), so the file is read back under a name of
    // its own, bypassing what QSettings remembers of it, and compared.
    QString alias = OneTimeName(file, "check");
    if (::link(QFile::encodeName(file).constData(), QFile::encodeName(alias).constData()) != 0)
        return false;
    bool same = false;
    {
        QSettings reader(alias, QSettings::IniFormat);
        QStringList keys = reader.allKeys();
        same = reader.status() == QSettings::NoError && keys.size() == m_values.size();
        for (qsizetype i = 0; same && i < keys.size(); ++i) {
            auto it = m_values.constFind(keys[i]);
            same = it != m_values.constEnd() && VariantBytes(*it) == VariantBytes(reader.value(keys[i]));
        }
    }
    QFile::remove(alias);
    return same;
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
