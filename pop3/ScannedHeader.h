// One message's header as a scan found it: the fields the check shows and
// compares, its unique-id once known, and its header text while kept. A large
// mailbox holds tens of thousands of these for the program's life, so each is
// a single allocation: a string per field would cost more than the fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class ScannedHeader {
public:
    ScannedHeader() = default;
    ScannedHeader(std::string_view subject, std::string_view from, std::string_view messageId,
                  std::string_view text, std::size_t headerBytes, std::string_view uniqueId = {});
    // A copy shares the block: every change makes a new one, so copying a
    // table of headers costs a count each, not their bytes.
    ScannedHeader(const ScannedHeader& other) = default;
    ScannedHeader& operator=(const ScannedHeader& other) = default;
    ScannedHeader(ScannedHeader&&) noexcept = default;
    ScannedHeader& operator=(ScannedHeader&&) noexcept = default;

    std::string_view Subject() const { return FieldAt(kSubject); }
    std::string_view From() const { return FieldAt(kFrom); }
    std::string_view MessageId() const { return FieldAt(kMessageId); }
    std::string_view UniqueId() const { return FieldAt(kUniqueId); }
    // Empty once let go: a text is kept whole or not at all.
    std::string_view Text() const { return FieldAt(kText); }
    // The header text's size as received, kept or not.
    std::size_t HeaderBytes() const { return Decoded().sizes[kFields]; }
    bool TextKept() const { return Text().size() == HeaderBytes(); }

    // Every field from one reading of the block, for whoever writes them all.
    struct Fields {
        std::string_view subject, from, messageId, uniqueId, text;
        std::size_t headerBytes;
    };
    Fields All() const;

    void SetText(std::string_view text, std::size_t headerBytes);
    // A header without a text keeps its block: tens of thousands of older
    // headers are told to drop theirs at every check.
    void DropText() {
        if (!Text().empty()) {
            SetText({}, HeaderBytes());
        }
    }
    void SetUniqueId(std::string_view uniqueId);

    // What the header costs in memory, its own size included.
    std::size_t Footprint() const;

    bool operator==(const ScannedHeader& other) const;

private:
    enum Field : std::size_t { kSubject, kFrom, kMessageId, kUniqueId, kText, kFields };

    // The block holds the fields' sizes and the header's size as LEB128
    // numbers, most a byte long, then the fields' bytes in turn.
    struct Layout {
        uint32_t sizes[kFields + 1] = {};
        std::size_t fieldsAt = 0;
    };
    Layout Decoded() const;
    std::string_view FieldAt(Field field) const;
    std::size_t BlockBytes() const;

    // The bytes behind a count of the headers that share them. The count is
    // not atomic: a header stays on the thread that made it.
    class Block {
    public:
        Block() = default;
        explicit Block(std::size_t bytes);
        Block(const Block& other) noexcept;
        Block& operator=(const Block& other) noexcept;
        Block(Block&& other) noexcept;
        Block& operator=(Block&& other) noexcept;
        ~Block();

        char* get() const { return m_bytes != nullptr ? m_bytes + sizeof(uint32_t) : nullptr; }
        explicit operator bool() const { return m_bytes != nullptr; }

    private:
        void Release() noexcept;
        char* m_bytes = nullptr; // the count, then the block
    };
    static Block MakeBlock(const std::string_view (&fields)[kFields], std::size_t headerBytes);

    Block m_block;
};

// One entry per message scanned, in the order scanned.
using ScannedHeaders = std::vector<ScannedHeader>;
