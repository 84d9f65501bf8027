#pragma once
#include <cstddef>
#include <memory>
#include <new>

// A growable array that reports a failed enlargement instead of throwing.
template <typename T>
class GrowableArray {
public:
    size_t Size() const { return size_; }
    size_t Capacity() const { return capacity_; }
    T& operator[](size_t i) { return items_[i]; }
    const T& operator[](size_t i) const { return items_[i]; }

    // Capacity 1 when empty, doubled when full.
    bool Append(const T& item) {
        if (size_ == capacity_ && !Reallocate(capacity_ == 0 ? 1 : capacity_ * 2)) return false;
        items_[size_++] = item;
        return true;
    }

    // Grows by exactly one entry.
    bool AppendExact(const T& item) {
        if (!Reallocate(size_ + 1)) return false;
        items_[size_++] = item;
        return true;
    }

    // Shrinks by exactly one entry.
    void RemoveAt(size_t index) {
        for (size_t i = index + 1; i < size_; ++i) items_[i - 1] = items_[i];
        --size_;
        Reallocate(size_);
    }

private:
    bool Reallocate(size_t capacity) {
        std::unique_ptr<T[]> items(capacity == 0 ? nullptr : new (std::nothrow) T[capacity]);
        if (capacity != 0 && items == nullptr) return false;
        for (size_t i = 0; i < size_ && i < capacity; ++i) items[i] = items_[i];
        items_ = std::move(items);
        capacity_ = capacity;
        return true;
    }

    std::unique_ptr<T[]> items_;
    size_t size_ = 0;
    size_t capacity_ = 0;
};
