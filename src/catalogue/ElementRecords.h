#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

// One element of the index.  Index 0 stands for the
// document itself.  Offsets and lengths count UTF-16 units of the document.
struct ElementRecord {
    std::uint32_t start;       // offset of the start tag's '<'
    std::uint32_t length;      // '<' of the start tag through '>' of the end tag
    std::uint32_t tagLengths;  // start-tag length (low 22 bits), end-tag length (high 10)
    std::uint32_t flags;       // nesting level (low 16 bits) and the k* bits below
    std::uint32_t parent;
    std::uint32_t firstChild;
    std::uint32_t nextSibling;
    std::uint32_t prevSibling;  // on a first child: the last child of the parent

    static constexpr std::uint32_t kMaxStartTagLength = (1u << 22) - 1;  // 4,194,303
    static constexpr std::uint32_t kMaxEndTagLength = (1u << 10) - 1;    // 1,023
    static constexpr std::uint32_t kMaxLevel = 0xFFFF;

    static constexpr std::uint32_t kLevelMask = 0xFFFF;
    static constexpr std::uint32_t kFirstChild = 1u << 16;
    static constexpr std::uint32_t kNotEnded = 1u << 17;   // closed by recovery
    static constexpr std::uint32_t kHasError = 1u << 18;   // a problem was found inside
    static constexpr std::uint32_t kIllFormed = 1u << 19;  // record 0 only

    std::uint32_t StartTagLength() const { return tagLengths & kMaxStartTagLength; }
    std::uint32_t EndTagLength() const { return tagLengths >> 22; }
    // Callers keep the limits; longer tags are refused before they get here.
    void SetTagLengths(std::uint32_t startTag, std::uint32_t endTag)
    {
        tagLengths = (startTag & kMaxStartTagLength) | ((endTag & kMaxEndTagLength) << 22);
    }
    std::uint32_t Level() const { return flags & kLevelMask; }
    void SetLevel(std::size_t level)
    {
        const std::uint32_t clamped = level > kMaxLevel ? kMaxLevel : static_cast<std::uint32_t>(level);
        flags = (flags & ~kLevelMask) | clamped;
    }
};

// Record storage in blocks of 65,536 records: the high 16 bits of an index
// select the block, the low 16 bits the slot.  Capacity starts where Reset
// puts it and grows by half when full; only the last, partial block is ever
// reallocated, so records of full blocks never move.
class ElementRecordStore {
public:
    static constexpr std::uint32_t kBlockRecords = 65536;

    // Drops every record and allocates `initialCapacity` records (at least 1).
    void Reset(std::size_t initialCapacity);
    // A new, zeroed record at the next index; grows as needed.  Throws
    // std::bad_alloc, or std::length_error past 2^32 - 1 records.
    std::uint32_t Add();

    std::uint32_t Count() const { return count_; }
    std::size_t Capacity() const { return capacity_; }
    ElementRecord& operator[](std::uint32_t index) { return blocks_[index >> 16][index & 0xFFFF]; }
    const ElementRecord& operator[](std::uint32_t index) const { return blocks_[index >> 16][index & 0xFFFF]; }

private:
    void Grow(std::size_t newCapacity);

    std::vector<std::unique_ptr<ElementRecord[]>> blocks_;
    std::vector<std::uint32_t> blockSizes_;
    std::size_t capacity_ = 0;
    std::uint32_t count_ = 0;
};

}  // namespace quillon
