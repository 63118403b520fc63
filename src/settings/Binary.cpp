#include "settings/Binary.h"

#include <limits>
#include <new>
#include <stdexcept>

namespace {

constexpr std::size_t kCountSize = 4;
constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max();

std::uint32_t LoadLittleEndian(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

CBinary::CBinary(const void* bytes, std::size_t n) { Append(bytes, n); }

CBinary::CBinary(std::string_view bytes) { Append(bytes.data(), bytes.size()); }

bool CBinary::Append(const void* bytes, std::size_t n) {
    if (n == 0)
        return true;
    if (n > kMaxSize - m_bytes.size())
        return false;
    const auto* first = static_cast<const std::uint8_t*>(bytes);
    try {
        m_bytes.insert(m_bytes.end(), first, first + n);  // strong guarantee: unchanged on failure
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

void CBinary::Clear() { std::vector<std::uint8_t>().swap(m_bytes); }

bool CBinary::AppendInt(std::int32_t value) {
    auto u = static_cast<std::uint32_t>(value);
    const std::uint8_t le[kCountSize] = {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16),
                                         std::uint8_t(u >> 24)};
    return Append(le, kCountSize);
}

bool CBinary::AppendText(std::string_view text) {
    // Count and bytes go in together or not at all, so a failed append never
    // leaves a count without its bytes.
    if (text.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        return false;
    CBinary field;
    return field.AppendInt(std::int32_t(text.size())) && field.Append(text.data(), text.size()) && Append(field);
}

bool CBinary::AppendBlock(const CBinary& block) {
    return AppendText(std::string_view(reinterpret_cast<const char*>(block.Data()), block.Size()));
}

bool CBinary::HasBytes(int position, std::size_t n) const {
    // Positions are ints, so a field must also end where an int can point.
    return position >= 0 && std::size_t(position) <= m_bytes.size() && n <= m_bytes.size() - position &&
           position + n <= std::size_t(std::numeric_limits<int>::max());
}

bool CBinary::ReadCounted(int& position, std::size_t& start, std::size_t& n) const {
    if (m_bytes.empty() || !HasBytes(position, kCountSize)) {
        position = -1;
        return false;
    }
    auto count = static_cast<std::int32_t>(LoadLittleEndian(m_bytes.data() + position));
    if (count < 0 || !HasBytes(position + int(kCountSize), std::size_t(count))) {
        position = -1;
        return false;
    }
    start = std::size_t(position) + kCountSize;
    n = std::size_t(count);
    return true;
}

std::int32_t CBinary::ReadInt(int& position) const {
    if (!HasBytes(position, kCountSize)) {
        position = -1;
        return 0;
    }
    auto value = static_cast<std::int32_t>(LoadLittleEndian(m_bytes.data() + position));
    position += int(kCountSize);
    return value;
}

std::string CBinary::ReadText(int& position) const {
    std::size_t start = 0, n = 0;
    if (!ReadCounted(position, start, n))
        return {};
    position = int(start + n);
    return std::string(reinterpret_cast<const char*>(m_bytes.data()) + start, n);
}

CBinary CBinary::ReadBlock(int& position) const {
    std::size_t start = 0, n = 0;
    if (!ReadCounted(position, start, n))
        return {};
    position = int(start + n);
    return CBinary(m_bytes.data() + start, n);
}
