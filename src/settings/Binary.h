#pragma once
// CBinary: the growable byte buffer that carries every stored value (records,
// groups, encrypted passwords, placements) and mail attachment contents. It
// writes and reads counted fields: a 32-bit little-endian byte count followed
// by that many bytes. Reads take a caller-held position that turns -1 on the
// first shortfall, so a chain of reads fails as a whole. Owned by value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CBinary {
public:
    CBinary() = default;
    CBinary(const void* bytes, std::size_t n);
    explicit CBinary(std::string_view bytes);
    CBinary(const CBinary& other) = default;
    CBinary& operator=(const CBinary& other) = default;
    CBinary(CBinary&& other) noexcept = default;
    CBinary& operator=(CBinary&& other) noexcept = default;
    virtual ~CBinary() = default;

    void Assign(const CBinary& other) { *this = other; }
    // False (and the buffer as it was) when the enlarged buffer cannot be had
    // or would pass the 32-bit size limit.
    bool Append(const void* bytes, std::size_t n);
    bool Append(const CBinary& other) { return Append(other.Data(), other.Size()); }
    void Clear();

    // Writers of the stored forms: a little-endian int32, a counted text, a
    // counted block.
    bool AppendInt(std::int32_t value);
    bool AppendText(std::string_view text);
    bool AppendBlock(const CBinary& block);

    // Readers of the same; on any shortfall position becomes -1 and the
    // result is empty (0 for an int).
    std::int32_t ReadInt(int& position) const;
    std::string ReadText(int& position) const;
    CBinary ReadBlock(int& position) const;

    std::uint32_t Size() const { return static_cast<std::uint32_t>(m_bytes.size()); }
    bool IsEmpty() const { return m_bytes.empty(); }
    const std::uint8_t* Data() const { return m_bytes.data(); }
    std::string ToString() const { return std::string(m_bytes.begin(), m_bytes.end()); }

    friend bool operator==(const CBinary& a, const CBinary& b) { return a.m_bytes == b.m_bytes; }

private:
    bool HasBytes(int position, std::size_t n) const;
    // The count's position and its n bytes after it, or false on a shortfall.
    bool ReadCounted(int& position, std::size_t& start, std::size_t& n) const;

    std::vector<std::uint8_t> m_bytes;
};
