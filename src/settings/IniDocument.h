#pragma once
// CIniDocument: the contents of the profile file in QSettings' INI format,
// as sections of named values. Each value is held both as the bytes a read
// returns and as the line the file holds for it, so writing the whole file
// back is a concatenation and reading it is one pass. Parse() reads the form
// QSettings itself writes; anything else (hand edits, comments, other line
// ends, escaped names) is read by QSettings (ParseLeniently), and the next
// write gives the file the plain form again. Owned by the profile store.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class CIniDocument {
public:
    enum class Kind { Text, Bytes };
    struct Value {
        Kind kind = Kind::Text;
        std::string bytes;  // UTF-8 for texts
        friend bool operator==(const Value&, const Value&) = default;
    };
    // A text value; bytes that are not UTF-8 become U+FFFD, as QSettings
    // would store them.
    static Value Text(std::string_view text);
    static Value Bytes(std::string_view bytes);

    // Replaces the contents with data. False when data holds anything but
    // the plain form QSettings writes; the document is then empty.
    bool Parse(std::string_view data);
    // Replaces the contents with what QSettings' own reader makes of data,
    // which accepts any file: Damaged when it reported a format error (what
    // it understood is kept), Failed when it could not be run (nothing kept).
    enum class Reading { Clean, Damaged, Failed };
    Reading ParseLeniently(std::string_view data);
    std::string Serialize() const;
    void Clear();

    const Value* Find(std::string_view section, std::string_view name) const;
    // False when the value was already held (nothing changed).
    bool Set(std::string_view section, std::string_view name, const Value& value);
    // False when there was no such section.
    bool RemoveSection(std::string_view section);

    // Sorted; names holding a '/' (nested groups) are left out.
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> ValueNames(std::string_view section) const;

private:
    struct Entry {
        std::string name;
        Value value;
        std::string line;  // "name=value\n" as the file holds it
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::map<std::string, std::size_t, std::less<>> index;
    };

    bool ParseLine(std::string_view line, Section*& current);
    Section& AddSection(std::string_view name);
    static void AddEntry(Section& section, std::string_view name, Value value, std::string line);
    void IndexSections();

    std::vector<Section> m_sections;  // in file order
    std::map<std::string, std::size_t, std::less<>> m_sectionIndex;
};
