#include "core/platform/large_buffer.h"

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

} // namespace card
