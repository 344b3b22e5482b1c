// The unique-ids of a UIDL listing in message order, in one buffer: a
// mailbox of tens of thousands of messages would otherwise hold a string
// and its heap block for each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class UniqueIdList {
public:
    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::string_view operator[](std::size_t index) const {
        const uint32_t start = index == 0 ? 0 : m_ends[index - 1];
        return std::string_view(m_bytes).substr(start, m_ends[index] - start);
    }
    // Room for count ids of up to idBytes each: what the ids leave unfilled
    // is never touched, so the list is never copied as it grows.
    void reserve(std::size_t count, std::size_t idBytes) {
        m_bytes.reserve(count * idBytes);
        m_ends.reserve(count);
    }
    // The listing's own bound keeps the buffer far below 4 GiB.
    void push_back(std::string_view id) {
        m_bytes.append(id);
        m_ends.push_back(static_cast<uint32_t>(m_bytes.size()));
    }
    // Lets go of the memory too: a broken listing is read on to its end.
    void clear() {
        std::string().swap(m_bytes);
        std::vector<uint32_t>().swap(m_ends);
    }

private:
    std::string m_bytes;
    std::vector<uint32_t> m_ends;
};
