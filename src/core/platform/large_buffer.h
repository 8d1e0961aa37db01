// Buffers for a large file's bytes, read in at once.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdlib>
#include <vector>

namespace card {

// size bytes, not yet filled. Where the system allows, backed by large pages: filling a large
// day then takes a few dozen page faults instead of one per 4 kB page, which on a virtual
// machine cost more than the copy itself.
QByteArray largeBuffer(qint64 size);

// bytes of storage, for largeBuffer's reason backed by large pages where they are large
// enough to hold one; released with std::free. Throws std::bad_alloc when none is left.
void* allocateLarge(std::size_t bytes);

// For arrays of many megabytes that one read fills (a day's swipes, its card table).
template <typename T> struct LargePageAllocator {
    using value_type = T;

    LargePageAllocator() = default;
    template <typename U> LargePageAllocator(const LargePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) { return static_cast<T*>(allocateLarge(count * sizeof(T))); }
    void deallocate(T* data, std::size_t) noexcept { std::free(data); }

    template <typename U> bool operator==(const LargePageAllocator<U>&) const noexcept
    {
        return true;
    }
};

template <typename T> using LargeVector = std::vector<T, LargePageAllocator<T>>;

} // namespace card
