#pragma once
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string_view>
#include <utility>

namespace quillon {

// A growable array of UTF-16 units on malloc/realloc.  Unlike std::u16string it
// never initialises capacity it has not written, so reserving an upper bound
// (the byte count of a file) costs address space but no resident memory; large
// blocks are mmap-backed and grow or shrink with mremap instead of a copy.
class U16Buffer {
public:
    U16Buffer() = default;
    ~U16Buffer() { std::free(data_); }
    U16Buffer(const U16Buffer&) = delete;
    U16Buffer& operator=(const U16Buffer&) = delete;
    U16Buffer(U16Buffer&& other) noexcept { Swap(other); }
    U16Buffer& operator=(U16Buffer&& other) noexcept
    {
        U16Buffer moved(std::move(other));
        Swap(moved);
        return *this;
    }

    char16_t* Data() { return data_; }
    const char16_t* Data() const { return data_; }
    std::size_t Size() const { return size_; }
    std::size_t Capacity() const { return capacity_; }
    std::u16string_view View() const { return {data_, size_}; }

    // Makes room for at least `units` units in total; throws std::bad_alloc.
    void Reserve(std::size_t units)
    {
        if (units <= capacity_)
            return;
        if (units > static_cast<std::size_t>(-1) / sizeof(char16_t))
            throw std::bad_alloc();
        void* grown = std::realloc(data_, units * sizeof(char16_t));
        if (!grown)
            throw std::bad_alloc();
        data_ = static_cast<char16_t*>(grown);
        capacity_ = units;
    }
    // Returns where `units` more units may be written (growing by half at
    // least); call Commit with the number actually written.
    char16_t* Extend(std::size_t units)
    {
        if (capacity_ - size_ < units) {
            const std::size_t need = size_ + units;
            const std::size_t half = capacity_ + capacity_ / 2;
            Reserve(need > half ? need : half);
        }
        return data_ + size_;
    }
    void Commit(std::size_t units) { size_ += units; }
    void Append(char16_t unit)
    {
        *Extend(1) = unit;
        ++size_;
    }
    void Truncate(std::size_t units)
    {
        if (units < size_)
            size_ = units;
    }
    // Gives back unused capacity (cheap for mmap-backed blocks).
    void ShrinkToFit()
    {
        if (capacity_ == size_)
            return;
        if (size_ == 0) {
            Clear();
            return;
        }
        if (void* shrunk = std::realloc(data_, size_ * sizeof(char16_t))) {
            data_ = static_cast<char16_t*>(shrunk);
            capacity_ = size_;
        }
    }
    void Clear()
    {
        std::free(data_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }
    void Swap(U16Buffer& other) noexcept
    {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

private:
    char16_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace quillon
