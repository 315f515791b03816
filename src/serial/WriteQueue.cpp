#include "serial/WriteQueue.h"

namespace quillon {

void WriteQueue::Push(const void* bytes, uint32_t count)
{
    const auto* first = static_cast<const unsigned char*>(bytes);
    std::vector<unsigned char> write(first, first + count);
    std::lock_guard lock(mutex_);
    writes_.push_back(std::move(write));
}

const std::vector<unsigned char>* WriteQueue::Front() const
{
    std::lock_guard lock(mutex_);
    return writes_.empty() ? nullptr : &writes_.front();
}

void WriteQueue::PopFront()
{
    std::lock_guard lock(mutex_);
    if (!writes_.empty())
        writes_.pop_front();
}

bool WriteQueue::Empty() const
{
    std::lock_guard lock(mutex_);
    return writes_.empty();
}

void WriteQueue::Clear()
{
    std::lock_guard lock(mutex_);
    writes_.clear();
}

}  // namespace quillon
