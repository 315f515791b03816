#pragma once
#include <cstdint>
#include <memory>
#include <mutex>

namespace quillon {

// A byte queue made of a singly linked chain of blocks, so that a long
// transfer can grow without moving the bytes already queued.  The owner of
// the buffer holds Mutex() around every call: the queue itself takes no lock,
// because a reader often wants several calls (fill, then read the total) to
// be one step.
class BlockBuffer {
public:
    static constexpr uint32_t kMinimumBlock = 1024;
    // An emptied last block at most this large is kept for reuse.
    static constexpr uint32_t kKeptBlockLimit = 4 * kMinimumBlock;

    struct Block {
        uint32_t begin = 0;  // first readable byte
        uint32_t end = 0;    // one past the last readable byte
        uint32_t capacity = 0;
        Block* next = nullptr;
        std::unique_ptr<unsigned char[]> data;

        uint32_t FreeRoom() const { return capacity - end; }
        unsigned char* WritePointer() { return data.get() + end; }
    };

    BlockBuffer() = default;
    virtual ~BlockBuffer();
    BlockBuffer(const BlockBuffer&) = delete;
    BlockBuffer& operator=(const BlockBuffer&) = delete;

    // Copies what fits into the last block's free room and puts the rest
    // into one new block.
    void Append(const void* bytes, uint32_t count);
    // Links a new empty block of at least kMinimumBlock bytes at the end.
    Block* NewBlock(uint32_t size);
    // Copies (or, with a null buffer, discards) up to `count` bytes from the
    // front; returns how many were taken.
    uint32_t Take(void* buffer, uint32_t count);
    void ReleaseAll();

    uint32_t Total() const { return total_; }
    // Bytes ever appended; Appended() - Total() is the position in that
    // stream of the byte at the front.
    uint64_t Appended() const { return appended_; }
    Block* First() const { return first_; }
    Block* Last() const { return last_; }
    std::mutex& Mutex() { return mutex_; }

private:
    Block* first_ = nullptr;
    Block* last_ = nullptr;
    uint32_t total_ = 0;
    uint64_t appended_ = 0;
    std::mutex mutex_;
};

}  // namespace quillon
