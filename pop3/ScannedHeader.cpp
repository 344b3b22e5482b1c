#include "ScannedHeader.h"

#include <array>
#include <cstring>
#include <stdexcept>

namespace {

constexpr std::size_t kSizesBytes = 6 * sizeof(uint32_t);

uint32_t Size32(std::size_t size) {
    // The scan bounds every header far below this; a size that passed it
    // would be cut silently.
    if (size > UINT32_MAX) {
        throw std::length_error("header field over 4 GiB");
    }
    return static_cast<uint32_t>(size);
}

std::unique_ptr<char[]> MakeBlock(const std::array<std::string_view, 5>& fields,
                                  std::size_t headerBytes) {
    std::size_t bytes = kSizesBytes;
    for (std::string_view field : fields) {
        bytes += field.size();
    }
    auto block = std::make_unique_for_overwrite<char[]>(bytes);
    std::array<uint32_t, 6> sizes{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        sizes[i] = Size32(fields[i].size());
    }
    sizes[5] = Size32(headerBytes);
    std::memcpy(block.get(), sizes.data(), kSizesBytes);
    char* at = block.get() + kSizesBytes;
    for (std::string_view field : fields) {
        if (!field.empty()) {
            std::memcpy(at, field.data(), field.size());
            at += field.size();
        }
    }
    return block;
}

} // namespace

ScannedHeader::ScannedHeader(std::string_view subject, std::string_view from,
                             std::string_view messageId, std::string_view text,
                             std::size_t headerBytes, std::string_view uniqueId)
    : m_block(MakeBlock({subject, from, messageId, uniqueId, text}, headerBytes)) {}

ScannedHeader::ScannedHeader(const ScannedHeader& other) {
    *this = other;
}

ScannedHeader& ScannedHeader::operator=(const ScannedHeader& other) {
    if (this != &other) {
        std::unique_ptr<char[]> copy;
        if (other.m_block) {
            copy = std::make_unique_for_overwrite<char[]>(other.BlockBytes());
            std::memcpy(copy.get(), other.m_block.get(), other.BlockBytes());
        }
        m_block = std::move(copy);
    }
    return *this;
}

uint32_t ScannedHeader::SizeAt(std::size_t index) const {
    uint32_t size = 0;
    if (m_block) {
        std::memcpy(&size, m_block.get() + index * sizeof(uint32_t), sizeof size);
    }
    return size;
}

std::string_view ScannedHeader::FieldAt(Field field) const {
    if (!m_block) {
        return {};
    }
    const char* at = m_block.get() + kSizesBytes;
    for (std::size_t i = 0; i < field; ++i) {
        at += SizeAt(i);
    }
    return {at, SizeAt(field)};
}

std::size_t ScannedHeader::BlockBytes() const {
    std::size_t bytes = kSizesBytes;
    for (std::size_t i = 0; i < kFields; ++i) {
        bytes += SizeAt(i);
    }
    return bytes;
}

void ScannedHeader::SetText(std::string_view text, std::size_t headerBytes) {
    m_block = MakeBlock({Subject(), From(), MessageId(), UniqueId(), text}, headerBytes);
}

void ScannedHeader::SetUniqueId(std::string_view uniqueId) {
    if (uniqueId != UniqueId()) {
        m_block = MakeBlock({Subject(), From(), MessageId(), uniqueId, Text()}, HeaderBytes());
    }
}

std::size_t ScannedHeader::Footprint() const {
    return sizeof(*this) + (m_block ? BlockBytes() : 0);
}

bool ScannedHeader::operator==(const ScannedHeader& other) const {
    return Subject() == other.Subject() && From() == other.From() &&
           MessageId() == other.MessageId() && UniqueId() == other.UniqueId() &&
           Text() == other.Text() && HeaderBytes() == other.HeaderBytes();
}
