#include "core/platform/large_buffer.h"

#if defined(__linux__)
#include <malloc.h>
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

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    // Blocks below 32 MB (a busy day's file) come from the heap and go back to it for the next
    // read; the heap's top is handed back to the system once 128 MB of it lie free.
    constexpr int kMappedFrom = 32 * 1024 * 1024;
    constexpr int kTrimAbove = 128 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kMappedFrom);
    mallopt(M_TRIM_THRESHOLD, kTrimAbove);
#endif
}

} // namespace card
