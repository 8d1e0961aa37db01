#include "core/platform/large_buffer.h"

#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace card {

QByteArray largeBuffer(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
#if defined(__linux__)
    // Only whole pages can be advised: those that lie inside the buffer.
    const auto page = static_cast<quintptr>(sysconf(_SC_PAGESIZE));
    const auto data = reinterpret_cast<quintptr>(bytes.data());
    const quintptr begin = (data + page - 1) & ~(page - 1);
    const quintptr end = (data + static_cast<quintptr>(size)) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
    return bytes;
}

void* allocateLarge(std::size_t bytes)
{
#if defined(__linux__)
    // A large page covers 2 MB, aligned to it: smaller arrays keep the usual heap.
    constexpr std::size_t kLargePage = std::size_t{2} << 20;
    if (bytes >= kLargePage) {
        const std::size_t rounded = (bytes + kLargePage - 1) & ~(kLargePage - 1);
        void* data = std::aligned_alloc(kLargePage, rounded);
        if (data == nullptr)
            throw std::bad_alloc();
        madvise(data, rounded, MADV_HUGEPAGE);
        return data;
    }
#endif
    void* data = std::malloc(bytes == 0 ? 1 : bytes);
    if (data == nullptr)
        throw std::bad_alloc();
    return data;
}

} // namespace card
