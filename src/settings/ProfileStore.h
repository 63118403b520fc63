#pragma once
// CProfileStore: the per-user profile store, an INI file in QSettings' format
// at an explicit path. Sections hold 32-bit ints, texts and byte strings.
//
// Nothing is kept across processes: every read first looks whether the file
// changed (another process, a hand edit) and reads it anew if so, and every
// write changes only its own value on top of what the file holds when it is
// written. Writing the value already held writes nothing.
//
// A write takes a lock shared by every writer of the file, reads the file
// anew if it changed, applies the pending changes on top and replaces the
// file atomically (new file, read back, flushed, renamed), so an interruption
// leaves the old file or the new one. Changes reach the file at once, except
// inside a batch (CProfileBatch), whose changes reach it together at its end,
// and while an event loop runs on the calling thread, where the changes of
// one turn of the loop reach it together as the turn ends. A failed write
// leaves the file as it was and drops its changes.
//
// The application owns one store (OpenProfile/CurrentProfile); CValue goes
// through it. One thread only (the user-interface thread, or a tool's main).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>

#include "settings/Binary.h"
#include "settings/IniDocument.h"

class QTimer;

class CProfileStore {
public:
    explicit CProfileStore(std::string path);
    ~CProfileStore();  // writes what is still pending
    CProfileStore(const CProfileStore&) = delete;
    CProfileStore& operator=(const CProfileStore&) = delete;

    // $XDG_CONFIG_HOME/TARNEL/Lumivex.conf
    static std::string DefaultPath();
    const std::string& Path() const { return m_path; }

    // False when the value is missing; an int also needs a decimal 32-bit
    // value (signed, or unsigned as a stored DWORD would be).
    bool ReadInt(std::string_view section, std::string_view name, std::int32_t& out);
    bool ReadText(std::string_view section, std::string_view name, std::string& out);
    bool ReadBinary(std::string_view section, std::string_view name, CBinary& out);

    // Each returns false when the change did not reach the file (when it is
    // written at once).
    bool WriteInt(std::string_view section, std::string_view name, std::int32_t value);
    bool WriteText(std::string_view section, std::string_view name, std::string_view value);
    bool WriteBinary(std::string_view section, std::string_view name, const CBinary& value);
    // Removes a section with all its values.
    bool RemoveSection(std::string_view section);

    std::vector<std::string> SectionNames();
    std::vector<std::string> ValueNames(std::string_view section);

    // Batches nest; only the outermost end writes. EndBatch is false when
    // that write failed; the file is then as it was before the batch.
    void BeginBatch();
    bool EndBatch();
    // Writes the pending changes now; false when that failed.
    bool Flush();

    // When the file could not be parsed, the original bytes are kept at
    // this path before anything is written; "" until then.
    const std::string& DamagedCopyPath() const { return m_damagedCopyPath; }

private:
    struct Change {
        bool removeSection = false;
        std::string section;
        std::string name;
        CIniDocument::Value value;
    };
    // What identifies the version of the file that was read.
    struct FileStamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t changedNs = 0;
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    enum class FileState { Clean, Damaged, Unreadable };

    static FileStamp StampOf(const struct stat& st);
    const CIniDocument::Value* Find(std::string_view section, std::string_view name);
    bool Record(Change change);
    bool Apply(const Change& change);
    void Refresh();
    void Reload();
    void Forget();
    void Hold(int fd);
    bool ScheduleForTurnEnd();
    bool WriteFile(const std::string& target);
    bool KeepDamagedFile();
    std::string TargetPath() const;

    std::string m_path;
    CIniDocument m_document;        // the file as last read, pending changes applied
    std::vector<Change> m_pending;  // not yet written, in order
    bool m_dirty = false;           // some pending change differs from the file as read
    bool m_known = false;           // m_stamp describes what m_document was read from
    FileStamp m_stamp;
    // The read file stays open so that its inode number cannot be given to
    // a newer file while the two are compared.
    int m_heldFd = -1;
    FileState m_state = FileState::Clean;
    int m_batchDepth = 0;
    std::unique_ptr<QTimer> m_turnEnd;
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
// on first use with the default path. Opening another or closing writes what
// the old one still holds pending.
CProfileStore& OpenProfile(const std::string& path = {});
CProfileStore& CurrentProfile();
void CloseProfile();
