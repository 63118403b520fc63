#pragma once
// CProfileStore: the per-user profile store, an INI file in QSettings' format.
// Sections hold 32-bit ints, texts and byte strings. The store keeps the
// values it read and every write reaches the file at once as an atomic
// replacement of the whole file; inside a batch (CProfileBatch) the writes are
// held and reach the file together in one such replacement, so a crash leaves
// the old file or the new one, never a mixture. A failed write is detected,
// leaves the file as it was, and its changes are dropped. The application
// owns one store (OpenProfile/CurrentProfile); CValue goes through it. One
// thread only (the user-interface thread, or a tool's main).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QMap>
#include <QString>
#include <QVariant>

#include "settings/Binary.h"

class CProfileStore {
public:
    explicit CProfileStore(std::string path);
    ~CProfileStore();
    CProfileStore(const CProfileStore&) = delete;
    CProfileStore& operator=(const CProfileStore&) = delete;

    // $XDG_CONFIG_HOME/TARNEL/Lumivex.conf
    static std::string DefaultPath();
    const std::string& Path() const { return m_path; }

    // False when the value is missing; an int also needs a decimal 32-bit
    // value (signed, or unsigned as a stored DWORD would be).
    bool ReadInt(std::string_view section, std::string_view name, std::int32_t& out) const;
    bool ReadText(std::string_view section, std::string_view name, std::string& out) const;
    bool ReadBinary(std::string_view section, std::string_view name, CBinary& out) const;

    // Each returns false when the write did not reach the file (outside a batch).
    bool WriteInt(std::string_view section, std::string_view name, std::int32_t value);
    bool WriteText(std::string_view section, std::string_view name, std::string_view value);
    bool WriteBinary(std::string_view section, std::string_view name, const CBinary& value);
    // Removes a section with all its values.
    bool RemoveSection(std::string_view section);

    std::vector<std::string> SectionNames() const;
    std::vector<std::string> ValueNames(std::string_view section) const;

    // Batches nest; only the outermost end writes. EndBatch is false when
    // that write failed; the file is then as it was before the batch.
    void BeginBatch();
    bool EndBatch();

    // When the file could not be parsed on opening, the original bytes are
    // kept at this path before anything is written; "" otherwise.
    const std::string& DamagedCopyPath() const { return m_damagedCopyPath; }

private:
    using ValueMap = QMap<QString, QVariant>;  // "Section/Name" -> value

    void Open();
    bool MayWrite();
    bool KeepDamagedFile();
    bool Write(const QString& key, const QVariant& value);
    bool Commit();
    bool WriteFile() const;
    bool HoldsValues(const QString& file) const;

    std::string m_path;
    ValueMap m_values;     // what reads see
    ValueMap m_committed;  // what the file holds
    int m_batchDepth = 0;
    bool m_batchFailed = false;  // a write inside the open batch was refused
    bool m_damaged = false;      // opened from a file Qt could not fully parse
    std::string m_damagedCopyPath;
};

// Holds a batch open for its lifetime; Commit() ends it early with the result.
class CProfileBatch {
public:
    explicit CProfileBatch(CProfileStore& store);
    ~CProfileBatch();
    CProfileBatch(const CProfileBatch&) = delete;
    CProfileBatch& operator=(const CProfileBatch&) = delete;
    bool Commit();

private:
    CProfileStore& m_store;
    bool m_open = true;
};

// The application's store: opened at start-up (empty path: the default), or
// on first use with the default path. Closing writes nothing further.
CProfileStore& OpenProfile(const std::string& path = {});
CProfileStore& CurrentProfile();
void CloseProfile();
