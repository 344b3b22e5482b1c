#include "ScannedHeader.h"

#include "Leb128.h"

#include <array>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace {

uint32_t Size32(std::size_t size) {
    // The scan bounds every header far below this; a size that passed it
    // would be cut silently.
    if (size > UINT32_MAX) {
        throw std::length_error("header field over 4 GiB");
    }
    return static_cast<uint32_t>(size);
}

} // namespace

ScannedHeader::Block::Block(std::size_t bytes) : m_bytes(new char[sizeof(uint32_t) + bytes]) {
    const uint32_t one = 1;
    std::memcpy(m_bytes, &one, sizeof one);
}

ScannedHeader::Block::Block(const Block& other) noexcept : m_bytes(other.m_bytes) {
    if (m_bytes != nullptr) {
        ++*reinterpret_cast<uint32_t*>(m_bytes);
    }
}

ScannedHeader::Block& ScannedHeader::Block::operator=(const Block& other) noexcept {
    Block copy(other);
    return *this = std::move(copy);
}

ScannedHeader::Block::Block(Block&& other) noexcept
    : m_bytes(std::exchange(other.m_bytes, nullptr)) {}

ScannedHeader::Block& ScannedHeader::Block::operator=(Block&& other) noexcept {
    if (this != &other) {
        Release();
        m_bytes = std::exchange(other.m_bytes, nullptr);
    }
    return *this;
}

ScannedHeader::Block::~Block() {
    Release();
}

void ScannedHeader::Block::Release() noexcept {
    if (m_bytes != nullptr && --*reinterpret_cast<uint32_t*>(m_bytes) == 0) {
        delete[] m_bytes;
    }
    m_bytes = nullptr;
}

ScannedHeader::Block ScannedHeader::MakeBlock(const std::string_view (&fields)[kFields],
                                              std::size_t headerBytes) {
    std::array<uint32_t, kFields + 1> sizes{};
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < kFields; ++i) {
        sizes[i] = Size32(fields[i].size());
        bytes += Leb128Bytes(sizes[i]) + fields[i].size();
    }
    sizes[kFields] = Size32(headerBytes);
    bytes += Leb128Bytes(sizes[5]);
    Block block(bytes);
    char* at = block.get();
    for (uint32_t size : sizes) {
        at = PutLeb128(at, size);
    }
    for (std::string_view field : fields) {
        if (!field.empty()) {
            std::memcpy(at, field.data(), field.size());
            at += field.size();
        }
    }
    return block;
}

ScannedHeader::ScannedHeader(std::string_view subject, std::string_view from,
                             std::string_view messageId, std::string_view text,
                             std::size_t headerBytes, std::string_view uniqueId)
    : m_block(MakeBlock({subject, from, messageId, uniqueId, text}, headerBytes)) {}

ScannedHeader::Layout ScannedHeader::Decoded() const {
    Layout layout;
    if (!m_block) {
        return layout;
    }
    const char* at = m_block.get();
    // The block is this header's own, written whole by MakeBlock.
    const auto next = [&at] { return std::optional(static_cast<unsigned char>(*at++)); };
    for (uint32_t& size : layout.sizes) {
        size = *ReadLeb128<uint32_t>(next);
    }
    layout.fieldsAt = static_cast<std::size_t>(at - m_block.get());
    return layout;
}

std::string_view ScannedHeader::FieldAt(Field field) const {
    const Layout layout = Decoded();
    std::size_t at = layout.fieldsAt;
    for (std::size_t i = 0; i < field; ++i) {
        at += layout.sizes[i];
    }
    return m_block ? std::string_view(m_block.get() + at, layout.sizes[field]) : std::string_view();
}

ScannedHeader::Fields ScannedHeader::All() const {
    const Layout layout = Decoded();
    std::string_view fields[kFields];
    const char* at = m_block ? m_block.get() + layout.fieldsAt : nullptr;
    for (std::size_t i = 0; i < kFields; ++i) {
        fields[i] = at != nullptr ? std::string_view(at, layout.sizes[i]) : std::string_view();
        at += at != nullptr ? layout.sizes[i] : 0;
    }
    return {fields[kSubject],  fields[kFrom], fields[kMessageId],
            fields[kUniqueId], fields[kText], layout.sizes[kFields]};
}

std::size_t ScannedHeader::BlockBytes() const {
    const Layout layout = Decoded();
    std::size_t bytes = layout.fieldsAt;
    for (std::size_t i = 0; i < kFields; ++i) {
        bytes += layout.sizes[i];
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
    return sizeof(*this) + (m_block ? sizeof(uint32_t) + BlockBytes() : 0);
}

bool ScannedHeader::operator==(const ScannedHeader& other) const {
    return Subject() == other.Subject() && From() == other.From() &&
           MessageId() == other.MessageId() && UniqueId() == other.UniqueId() &&
           Text() == other.Text() && HeaderBytes() == other.HeaderBytes();
}
