#include "settings/IniDocument.h"

#include <algorithm>
#include <utility>

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>
#include <QVariant>

namespace {

constexpr std::string_view kBytesPrefix = "@ByteArray(";
// QSettings writes a text that holds a zero character this way.
constexpr std::string_view kTextPrefix = "@String(";
constexpr unsigned kFirstNonAscii = 0x80;
// Escapes longer than this are not what QSettings writes; QSettings reads them.
constexpr int kMaxEscapeDigits = 6;

bool IsPlainNameChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.';
}

bool IsPlainName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return IsPlainNameChar(c); });
}

bool IsGeneral(std::string_view name) {
    return name.size() == 7 && std::equal(name.begin(), name.end(), "general",
                                          [](char a, char b) { return (a | 0x20) == b; });
}

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

bool HasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool IsUtf8(std::string_view bytes) {
    QByteArray original(bytes.data(), qsizetype(bytes.size()));
    return QString::fromUtf8(original).toUtf8() == original;
}

// QSettings' name escaping: letters, digits, '_', '-' and '.' stay, '/'
// becomes '\', any other UTF-16 unit %XX or %UXXXX.
std::string EscapedName(std::string_view name) {
    if (IsPlainName(name))
        return std::string(name);
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (QChar qch : QString::fromUtf8(name.data(), qsizetype(name.size()))) {
        unsigned ch = qch.unicode();
        if (ch == '/') {
            out += '\\';
        } else if (ch < kFirstNonAscii && IsPlainNameChar(static_cast<unsigned char>(ch))) {
            out += char(ch);
        } else if (ch <= 0xFF) {
            out += {'%', kHex[ch >> 4], kHex[ch & 0xF]};
        } else {
            out += {'%', 'U', kHex[ch >> 12], kHex[(ch >> 8) & 0xF], kHex[(ch >> 4) & 0xF], kHex[ch & 0xF]};
        }
    }
    return out;
}

std::string SectionHeader(std::string_view section) {
    if (section.empty())
        return "[General]\n";
    std::string escaped = EscapedName(section);
    return IsGeneral(escaped) ? "[%General]\n" : "[" + escaped + "]\n";
}

void AppendHexEscape(std::string& out, unsigned char c) {
    static const char kHex[] = "0123456789abcdef";
    out += "\\x";
    if (c >= 0x10)
        out += kHex[c >> 4];
    out += kHex[c & 0xF];
}

// QSettings' value escaping. A hex digit right after a numeric escape is
// escaped too, or the reader would take it into the escape; a value with
// ';', ',' or '=' or with a space at either end is quoted. escapeHigh: bytes
// of 0x7F and above as escapes (byte arrays), else as they are (UTF-8 text).
void AppendEscaped(std::string& out, std::string_view text, bool escapeHigh) {
    const std::size_t start = out.size();
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (escapeNextIfDigit && DigitValue(ch, 16) >= 0) {
            AppendHexEscape(out, c);
            continue;
        }
        escapeNextIfDigit = false;
        switch (c) {
        case '\0': out += "\\0"; escapeNextIfDigit = true; break;
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"':
        case '\\': out += '\\'; out += ch; break;
        default:
            if (c <= 0x1F || (escapeHigh && c >= 0x7F)) {
                AppendHexEscape(out, c);
                escapeNextIfDigit = true;
            } else {
                out += ch;
            }
        }
    }
    if (needsQuotes || (out.size() > start && (out[start] == ' ' || out.back() == ' '))) {
        out.insert(start, 1, '"');
        out += '"';
    }
}

std::string EntryLine(std::string_view name, const CIniDocument::Value& value) {
    std::string line = EscapedName(name) + "=";
    if (value.kind == CIniDocument::Kind::Bytes) {
        std::string wrapped = std::string(kBytesPrefix) + value.bytes + ")";
        AppendEscaped(line, wrapped, true);
    } else {
        // A text that starts with '@' would read as a typed value.
        AppendEscaped(line, value.bytes.starts_with('@') ? "@" + value.bytes : value.bytes, false);
    }
    return line + "\n";
}

const char* SimpleEscape(char c) {
    switch (c) {
    case 'a': return "\a";
    case 'b': return "\b";
    case 'f': return "\f";
    case 'n': return "\n";
    case 'r': return "\r";
    case 't': return "\t";
    case 'v': return "\v";
    case '"': return "\"";
    case '?': return "?";
    case '\'': return "'";
    case '\\': return "\\";
    default: return nullptr;
    }
}

// One escape at raw[i] == '\\', as QSettings writes them: a letter, or a
// hex or octal number of one byte. maxNumeric: the largest number seen.
bool DecodeEscape(std::string_view raw, std::size_t& i, std::string& out, unsigned& maxNumeric) {
    if (i + 1 >= raw.size())
        return false;
    char e = raw[i + 1];
    i += 2;
    if (const char* simple = SimpleEscape(e)) {
        out += *simple;
        return true;
    }
    const bool hex = e == 'x';
    if (!hex && DigitValue(e, 8) < 0)
        return false;
    const int base = hex ? 16 : 8;
    unsigned value = hex ? 0 : unsigned(e - '0');
    int digits = hex ? 0 : 1;
    for (int d; i < raw.size() && (d = DigitValue(raw[i], base)) >= 0; ++i) {
        value = value * unsigned(base) + unsigned(d);
        if (++digits > kMaxEscapeDigits || value > 0xFF)
            return false;
    }
    if (digits == 0)
        return false;
    maxNumeric = std::max(maxNumeric, value);
    out += char(value);
    return true;
}

bool IsWrapped(std::string_view bytes, std::string_view prefix) {
    return bytes.starts_with(prefix) && bytes.ends_with(')');
}

// The decoded bytes of a value as QSettings would type them: a byte array
// from "@ByteArray(...)", a text from "@String(...)", "@@..." or anything not
// starting with '@'. Other typed values, and bytes QSettings would read
// differently, are not the plain form.
bool Classify(std::string& bytes, bool rawNonAscii, unsigned maxNumeric, CIniDocument::Value& out) {
    if (IsWrapped(bytes, kBytesPrefix)) {
        if (rawNonAscii)
            return false;
        out = CIniDocument::Bytes(std::string_view(bytes).substr(kBytesPrefix.size(),
                                                                 bytes.size() - kBytesPrefix.size() - 1));
        return true;
    }
    if (IsWrapped(bytes, kTextPrefix)) {
        bytes = bytes.substr(kTextPrefix.size(), bytes.size() - kTextPrefix.size() - 1);
    } else if (!bytes.empty() && bytes[0] == '@') {
        if (bytes.size() < 2 || bytes[1] != '@')
            return false;
        bytes.erase(0, 1);
    }
    if (maxNumeric >= kFirstNonAscii || (rawNonAscii && !IsUtf8(bytes)))
        return false;
    out.kind = CIniDocument::Kind::Text;
    out.bytes = std::move(bytes);
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool DecodeValue(std::string_view raw, CIniDocument::Value& out) {
    const bool quoted = raw.starts_with('"');
    if (quoted) {
        if (raw.size() < 2 || !raw.ends_with('"'))
            return false;
        raw = raw.substr(1, raw.size() - 2);
    } else if (!raw.empty() && (IsBlank(raw.front()) || IsBlank(raw.back()))) {
        return false;
    }
    std::string bytes;
    bytes.reserve(raw.size());
    bool rawNonAscii = false;
    unsigned maxNumeric = 0;
    for (std::size_t i = 0; i < raw.size();) {
        auto c = static_cast<unsigned char>(raw[i]);
        if (c == '\\') {
            if (!DecodeEscape(raw, i, bytes, maxNumeric))
                return false;
            continue;
        }
        // Unquoted, ',' makes a list and ';' a comment.
        if (c < 0x20 || c == '"' || (!quoted && (c == ',' || c == ';')))
            return false;
        rawNonAscii = rawNonAscii || c >= kFirstNonAscii;
        bytes += raw[i++];
    }
    return Classify(bytes, rawNonAscii, maxNumeric, out);
}

// What a read returns for a value QSettings typed otherwise: a list written
// by hand without quotes reads back as the text as written.
std::string VariantText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    return value.toString().toStdString();
}

}  // namespace

CIniDocument::Value CIniDocument::Text(std::string_view text) {
    if (HasNonAscii(text) && !IsUtf8(text))
        return {Kind::Text, QString::fromUtf8(text.data(), qsizetype(text.size())).toStdString()};
    return {Kind::Text, std::string(text)};
}

CIniDocument::Value CIniDocument::Bytes(std::string_view bytes) { return {Kind::Bytes, std::string(bytes)}; }

void CIniDocument::Clear() {
    m_sections.clear();
    m_sectionIndex.clear();
}

bool CIniDocument::Parse(std::string_view data) {
    Clear();
    Section* current = nullptr;
    for (std::size_t pos = 0; pos < data.size();) {
        std::size_t end = std::min(data.find('\n', pos), data.size());
        if (!ParseLine(data.substr(pos, end - pos), current)) {
            Clear();
            return false;
        }
        pos = end + 1;
    }
    return true;
}

bool CIniDocument::ParseLine(std::string_view line, Section*& current) {
    if (line.empty())
        return true;
    if (line.front() == '[') {
        std::string_view name = line.substr(1, line.size() - 1);
        if (!name.ends_with(']'))
            return false;
        name.remove_suffix(1);
        if (!IsPlainName(name) || IsGeneral(name) || m_sectionIndex.contains(name))
            return false;
        current = &AddSection(name);
        return true;
    }
    std::size_t equals = line.find('=');
    if (!current || equals == std::string_view::npos)
        return false;
    std::string_view name = line.substr(0, equals);
    Value value;
    if (!IsPlainName(name) || current->index.contains(name) || !DecodeValue(line.substr(equals + 1), value))
        return false;
    std::string text(line);
    text += '\n';
    AddEntry(*current, name, std::move(value), std::move(text));
    return true;
}

CIniDocument::Reading CIniDocument::ParseLeniently(std::string_view data) {
    Clear();
    // QSettings reads files only; a file of a unique name also keeps it from
    // answering from what it remembers of an earlier read.
    QTemporaryFile copy;
    if (!copy.open() || copy.write(data.data(), qint64(data.size())) != qint64(data.size()) || !copy.flush())
        return Reading::Failed;
    QSettings reader(copy.fileName(), QSettings::IniFormat);
    const QStringList keys = reader.allKeys();
    for (const QString& key : keys) {
        QVariant value = reader.value(key);
        if (!value.isValid() || key.endsWith(QLatin1Char('/')))
            continue;  // a line without a name ("=x") holds nothing to keep
        qsizetype slash = key.indexOf(QLatin1Char('/'));
        std::string section = slash < 0 ? std::string() : key.left(slash).toStdString();
        std::string name = key.mid(slash + 1).toStdString();
        if (value.typeId() == QMetaType::QByteArray) {
            QByteArray bytes = value.toByteArray();
            Set(section, name, Bytes(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
        } else {
            Set(section, name, Text(VariantText(value)));
        }
    }
    return reader.status() == QSettings::NoError ? Reading::Clean : Reading::Damaged;
}

std::string CIniDocument::Serialize() const {
    std::size_t size = 0;
    for (const Section& section : m_sections)
        for (const Entry& entry : section.entries)
            size += entry.line.size();
    std::string out;
    out.reserve(size + m_sections.size() * 32);
    for (const Section& section : m_sections) {
        if (section.entries.empty())
            continue;
        if (!out.empty())
            out += '\n';
        out += SectionHeader(section.name);
        for (const Entry& entry : section.entries)
            out += entry.line;
    }
    return out;
}

const CIniDocument::Value* CIniDocument::Find(std::string_view section, std::string_view name) const {
    auto s = m_sectionIndex.find(section);
    if (s == m_sectionIndex.end())
        return nullptr;
    const Section& found = m_sections[s->second];
    auto e = found.index.find(name);
    return e == found.index.end() ? nullptr : &found.entries[e->second].value;
}

bool CIniDocument::Set(std::string_view section, std::string_view name, const Value& value) {
    auto s = m_sectionIndex.find(section);
    Section& target = s == m_sectionIndex.end() ? AddSection(section) : m_sections[s->second];
    auto e = target.index.find(name);
    if (e == target.index.end()) {
        AddEntry(target, name, value, EntryLine(name, value));
        return true;
    }
    Entry& entry = target.entries[e->second];
    if (entry.value == value)
        return false;
    entry.value = value;
    entry.line = EntryLine(name, value);
    return true;
}

bool CIniDocument::RemoveSection(std::string_view section) {
    auto s = m_sectionIndex.find(section);
    if (s == m_sectionIndex.end())
        return false;
    m_sections.erase(m_sections.begin() + std::ptrdiff_t(s->second));
    IndexSections();
    return true;
}

std::vector<std::string> CIniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const auto& [name, index] : m_sectionIndex)
        if (!name.empty() && name.find('/') == std::string::npos && !m_sections[index].entries.empty())
            names.push_back(name);
    return names;
}

std::vector<std::string> CIniDocument::ValueNames(std::string_view section) const {
    std::vector<std::string> names;
    auto s = m_sectionIndex.find(section);
    if (s != m_sectionIndex.end())
        for (const auto& [name, index] : m_sections[s->second].index)
            if (name.find('/') == std::string::npos)
                names.push_back(name);
    return names;
}

CIniDocument::Section& CIniDocument::AddSection(std::string_view name) {
    m_sectionIndex.emplace(std::string(name), m_sections.size());
    m_sections.push_back(Section{std::string(name), {}, {}});
    return m_sections.back();
}

void CIniDocument::AddEntry(Section& section, std::string_view name, Value value, std::string line) {
    section.index.emplace(std::string(name), section.entries.size());
    section.entries.push_back(Entry{std::string(name), std::move(value), std::move(line)});
}

void CIniDocument::IndexSections() {
    m_sectionIndex.clear();
    for (std::size_t i = 0; i < m_sections.size(); ++i)
        m_sectionIndex.emplace(m_sections[i].name, i);
}
