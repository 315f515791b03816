#pragma once
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace quillon {

// Writes handed to the port but not yet written, oldest first.  Each keeps
// its own bytes, so that it is written whole and gets its own write time-out.
// Any thread may push; one thread at a time takes: it reads Front(), writes
// it without any lock held, then calls PopFront().
class WriteQueue {
public:
    void Push(const void* bytes, uint32_t count);
    // The oldest write, or null when none is waiting.  Stays valid until
    // PopFront or Clear, whatever is pushed meanwhile.
    const std::vector<unsigned char>* Front() const;
    void PopFront();
    // True when nothing is waiting and nothing is being written.
    bool Empty() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::deque<std::vector<unsigned char>> writes_;
};

}  // namespace quillon
