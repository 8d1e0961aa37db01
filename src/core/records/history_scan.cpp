#include "core/records/history_scan.h"

#include "core/records/record_reader.h"
#include "core/records/record_walker.h"
#include "core/text/value_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace card {

namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char foldedByte(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Both sides are folded: a byte of a code page 950 character may be an ASCII letter's.
bool equalAt(const char* p, QByteArrayView needle, bool foldCase)
{
    if (!foldCase)
        return std::memcmp(p, needle.data(), static_cast<size_t>(needle.size())) == 0;
    for (qsizetype i = 0; i < needle.size(); ++i) {
        if (foldedByte(p[i]) != foldedByte(needle[i]))
            return false;
    }
    return true;
}

// The first place at or after from where needle occurs in content, ASCII letters compared
// without case when foldCase; -1 when none. Sixteen places
// at a time are tested on the needle's first and last bytes before the rest is compared.
qsizetype findRequired(QByteArrayView content, qsizetype from, QByteArrayView needle, bool foldCase)
{
    const qsizetype lastByte = needle.size() - 1;
    const char* data = content.data();
    const qsizetype lastStart = content.size() - needle.size();
    qsizetype i = from;
#if defined(__SSE2__)
    const bool foldFirst = foldCase && isAsciiLetter(needle[0]);
    const bool foldLast = foldCase && isAsciiLetter(needle[lastByte]);
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i first =
        foldFirst ? _mm_or_si128(_mm_set1_epi8(needle[0]), caseBit) : _mm_set1_epi8(needle[0]);
    const __m128i last = foldLast ? _mm_or_si128(_mm_set1_epi8(needle[lastByte]), caseBit)
                                  : _mm_set1_epi8(needle[lastByte]);
    for (; i + 16 <= lastStart + 1; i += 16) {
        __m128i atFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + lastByte));
        if (foldFirst)
            atFirst = _mm_or_si128(atFirst, caseBit);
        if (foldLast)
            atLast = _mm_or_si128(atLast, caseBit);
        auto candidates = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(atFirst, first), _mm_cmpeq_epi8(atLast, last))));
        while (candidates != 0) {
            const qsizetype at = i + std::countr_zero(candidates);
            if (equalAt(data + at, needle, foldCase))
                return at;
            candidates &= candidates - 1;
        }
    }
#endif
    for (; i <= lastStart; ++i) {
        if (equalAt(data + i, needle, foldCase))
            return i;
    }
    return -1;
}

// The first place at or after from where one of the needles occurs; -1 when none. Each needle's
// next place is remembered while it lies ahead, so no stretch is searched twice for it.
class RequiredFinder {
public:
    RequiredFinder(QByteArrayView content, const QList<QByteArray>& needles, bool foldCase)
        : m_content(content)
        , m_needles(needles)
        , m_next(static_cast<size_t>(needles.size()), -2)
        , m_foldCase(foldCase)
    {}

    qsizetype from(qsizetype from)
    {
        qsizetype first = -1;
        for (size_t k = 0; k < m_next.size(); ++k) {
            qsizetype& next = m_next[k];
            if (next != -1 && next < from)
                next =
                    findRequired(m_content, from, m_needles[static_cast<qsizetype>(k)], m_foldCase);
            if (next >= 0 && (first < 0 || next < first))
                first = next;
        }
        return first;
    }

private:
    QByteArrayView m_content;
    const QList<QByteArray>& m_needles;
    std::vector<qsizetype> m_next; // -2 before the first search, -1 when there is none
    bool m_foldCase;
};

} // namespace

std::vector<qsizetype> readHistoryRecords(QByteArrayView content, qsizetype from,
                                          const HistoryRecordTest& test)
{
    std::vector<qsizetype> starts;
    ValueReader reader(content, from);
    RecordSlices record;
    while (!reader.atEnd()) {
        const qsizetype start = reader.position();
        if (!readRecord(reader, record))
            break;
        if (test.keeps(content, record))
            starts.push_back(start);
    }
    return starts;
}

std::vector<qsizetype> scanHistoryRecords(QByteArrayView content, qsizetype from,
                                          const HistoryRecordTest& test)
{
    if (test.requiredBytes().isEmpty())
        return readHistoryRecords(content, from, test);
    RequiredFinder finder(content, test.requiredBytes(), test.ignoresAsciiCase());
    std::vector<qsizetype> starts;
    RecordWalker walker(content, from);
    qsizetype searchFrom = from;
    for (;;) {
        const qsizetype hit = finder.from(searchFrom);
        if (hit < 0)
            return starts;
        if (!walker.walkTo(hit))
            return readHistoryRecords(content, from, test);
        const qsizetype start = walker.recordStart();
        ValueReader reader(content, start);
        RecordSlices record;
        if (!readRecord(reader, record))
            return starts;
        if (test.keeps(content, record))
            starts.push_back(start);
        searchFrom = std::max(reader.position(), hit + 1);
    }
}

} // namespace card
