#include "catalogue/ElementRecords.h"

#include <algorithm>
#include <stdexcept>

namespace quillon {

void ElementRecordStore::Reset(std::size_t initialCapacity)
{
    blocks_.clear();
    blockSizes_.clear();
    capacity_ = 0;
    count_ = 0;
    Grow(std::max<std::size_t>(initialCapacity, 1));
}

std::uint32_t ElementRecordStore::Add()
{
    if (count_ == UINT32_MAX)
        throw std::length_error("too many elements");
    if (count_ >= capacity_)
        Grow(capacity_ + std::max<std::size_t>(capacity_ / 2, 1));
    const std::uint32_t index = count_++;
    (*this)[index] = ElementRecord{};
    return index;
}

void ElementRecordStore::Grow(std::size_t newCapacity)
{
    newCapacity = std::min<std::size_t>(newCapacity, UINT32_MAX);
    while (capacity_ < newCapacity) {
        const std::size_t missing = newCapacity - capacity_;
        if (!blockSizes_.empty() && blockSizes_.back() < kBlockRecords) {
            // Enlarge the partial last block, keeping its records.
            const std::uint32_t oldSize = blockSizes_.back();
            const std::uint32_t newSize =
                static_cast<std::uint32_t>(std::min<std::size_t>(kBlockRecords, oldSize + missing));
            auto block = std::make_unique_for_overwrite<ElementRecord[]>(newSize);
            const std::size_t used = count_ - (blocks_.size() - 1) * std::size_t{kBlockRecords};
            std::copy_n(blocks_.back().get(), used, block.get());
            blocks_.back() = std::move(block);
            blockSizes_.back() = newSize;
            capacity_ += newSize - oldSize;
        } else {
            const std::uint32_t size = static_cast<std::uint32_t>(std::min<std::size_t>(kBlockRecords, missing));
            blocks_.push_back(std::make_unique_for_overwrite<ElementRecord[]>(size));
            blockSizes_.push_back(size);
            capacity_ += size;
        }
    }
}

}  // namespace quillon
