#include "serial/BlockBuffer.h"

#include <algorithm>
#include <cstring>

namespace quillon {

BlockBuffer::~BlockBuffer()
{
    ReleaseAll();
}

void BlockBuffer::Append(const void* bytes, uint32_t count)
{
    auto* source = static_cast<const unsigned char*>(bytes);
    uint32_t rest = count;
    if (last_ && last_->FreeRoom() > 0) {
        const uint32_t part = std::min(rest, last_->FreeRoom());
        std::memcpy(last_->WritePointer(), source, part);
        last_->end += part;
        source += part;
        rest -= part;
    }
    if (rest > 0) {
        Block* block = NewBlock(rest);
        std::memcpy(block->WritePointer(), source, rest);
        block->end = rest;
    }
    total_ += count;
    appended_ += count;
}

BlockBuffer::Block* BlockBuffer::NewBlock(uint32_t size)
{
    auto* block = new Block;
    block->capacity = std::max(size, kMinimumBlock);
    block->data = std::make_unique_for_overwrite<unsigned char[]>(block->capacity);
    if (last_)
        last_->next = block;
    else
        first_ = block;
    last_ = block;
    return block;
}

uint32_t BlockBuffer::Take(void* buffer, uint32_t count)
{
    auto* target = static_cast<unsigned char*>(buffer);
    uint32_t taken = 0;
    while (first_ && taken < count) {
        Block* block = first_;
        const uint32_t part = std::min(count - taken, block->end - block->begin);
        if (target) {
            std::memcpy(target, block->data.get() + block->begin, part);
            target += part;
        }
        taken += part;
        block->begin += part;
        if (block->begin < block->end)
            break;
        if (block == last_ && block->capacity <= kKeptBlockLimit) {
            block->begin = block->end = 0;
            break;
        }
        first_ = block->next;
        if (!first_)
            last_ = nullptr;
        delete block;
    }
    total_ -= taken;
    return taken;
}

void BlockBuffer::ReleaseAll()
{
    while (first_) {
        Block* next = first_->next;
        delete first_;
        first_ = next;
    }
    last_ = nullptr;
    total_ = 0;
}

}  // namespace quillon
