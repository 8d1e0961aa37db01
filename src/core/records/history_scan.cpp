#include "core/records/history_scan.h"

#include "core/records/record_reader.h"
#include "core/records/record_walker.h"
#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CARD_SCAN_X86 1
#endif

namespace card {

namespace {

constexpr qsizetype kBlock = RecordWalker::kBlock;

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

// One byte of a needle that 64 places at a time are tested on: a letter compared without case
// is tested with its case bit set.
struct NeedleByte {
    qsizetype offset = 0;
    char value = 0;   // with the case bit set where caseBit is
    char caseBit = 0; // 0x20 where the byte is a letter compared without case
};

// A required byte string with its first, middle and last bytes, on which 64 places at a time
// are tested before the rest is compared: a card's digits share their first and last with many
// other numbers.
struct Needle {
    QByteArrayView bytes;
    std::array<NeedleByte, 3> tested;
    bool foldCase = false; // compared without case, and holding a letter that case changes
};

std::vector<Needle> needlesOf(const QList<QByteArray>& required, bool foldCase)
{
    std::vector<Needle> needles;
    for (const QByteArray& bytes : required) {
        Needle needle;
        needle.bytes = bytes;
        needle.foldCase = foldCase && std::ranges::any_of(bytes, isAsciiLetter);
        const std::array<qsizetype, 3> offsets = {0, bytes.size() / 2, bytes.size() - 1};
        for (size_t k = 0; k < offsets.size(); ++k) {
            NeedleByte& tested = needle.tested[k];
            tested.offset = offsets[k];
            tested.caseBit = needle.foldCase && isAsciiLetter(bytes[offsets[k]]) ? 0x20 : 0;
            tested.value = static_cast<char>(bytes[offsets[k]] | tested.caseBit);
        }
        needles.push_back(needle);
    }
    return needles;
}

#if defined(CARD_SCAN_X86)

// One block's byte classes and a needle's candidate places, 16 bytes at a time; with folds, a
// tested byte's case bit is set before it is compared.
struct Sse2Blocks {
    static ByteMasks classes(const char* p) { return classifyFullBlock(p); }
    static std::uint64_t prefixXor(std::uint64_t bits) { return RecordWalker::prefixXor(bits); }

    template <bool folds> static std::uint64_t candidates(const char* p, const Needle& needle)
    {
        const auto equal = [p](const NeedleByte& tested, int chunk) {
            const char* at = p + tested.offset + 16 * chunk;
            __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            if constexpr (folds)
                bytes = _mm_or_si128(bytes, _mm_set1_epi8(tested.caseBit));
            return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(tested.value));
        };
        const auto& [first, middle, last] = needle.tested;
        std::uint64_t bits = 0;
        // Unrolled, as the chunk loops below: each chunk's shift is then a constant.
#pragma GCC unroll 4
        for (int k = 0; k < 4; ++k) {
            const __m128i all =
                _mm_and_si128(_mm_and_si128(equal(first, k), equal(middle, k)), equal(last, k));
            bits |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(all)))
                    << (16 * k);
        }
        return bits;
    }
};

// The same, 32 bytes at a time; only called from code built for AVX2 and the carry-less multiply.
struct Avx2Blocks {
    // A carry-less multiply by all ones adds every bit into those above it, in one instruction
    // where the shifts take twelve.
    [[gnu::target("pclmul")]] static std::uint64_t prefixXor(std::uint64_t bits)
    {
        const __m128i product = _mm_clmulepi64_si128(
            _mm_cvtsi64_si128(static_cast<long long>(bits)), _mm_set1_epi8(-1), 0);
        return static_cast<std::uint64_t>(_mm_cvtsi128_si64(product));
    }

    [[gnu::target("avx2")]] static std::uint64_t bits(__m256i equal, int chunk)
    {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(equal)))
               << (32 * chunk);
    }

    [[gnu::target("avx2")]] static ByteMasks classes(const char* p)
    {
        const __m256i quote = _mm256_set1_epi8('"');
        const __m256i comma = _mm256_set1_epi8(',');
        const __m256i cr = _mm256_set1_epi8('\r');
        const __m256i lf = _mm256_set1_epi8('\n');
        ByteMasks masks;
        std::uint64_t commas = 0;
#pragma GCC unroll 2
        for (int k = 0; k < 2; ++k) {
            const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * k));
            masks.quote |= bits(_mm256_cmpeq_epi8(chunk, quote), k);
            commas |= bits(_mm256_cmpeq_epi8(chunk, comma), k);
            masks.cr |= bits(_mm256_cmpeq_epi8(chunk, cr), k);
            masks.lf |= bits(_mm256_cmpeq_epi8(chunk, lf), k);
        }
        masks.separator = commas | masks.cr | masks.lf;
        return masks;
    }

    template <bool folds>
    [[gnu::target("avx2")]] static __m256i equal(const char* p, const NeedleByte& tested, int chunk)
    {
        const char* at = p + tested.offset + 32 * chunk;
        __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        if constexpr (folds)
            bytes = _mm256_or_si256(bytes, _mm256_set1_epi8(tested.caseBit));
        return _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(tested.value));
    }

    template <bool folds>
    [[gnu::target("avx2")]] static std::uint64_t candidates(const char* p, const Needle& needle)
    {
        const auto& [first, middle, last] = needle.tested;
        std::uint64_t found = 0;
#pragma GCC unroll 2
        for (int k = 0; k < 2; ++k) {
            found |= bits(_mm256_and_si256(_mm256_and_si256(equal<folds>(p, first, k),
                                                            equal<folds>(p, middle, k)),
                                           equal<folds>(p, last, k)),
                          k);
        }
        return found;
    }
};

#else

// Without x86 vector instructions both paths test a byte at a time.
struct Sse2Blocks {
    static ByteMasks classes(const char* p) { return classifyFullBlock(p); }
    static std::uint64_t prefixXor(std::uint64_t bits) { return RecordWalker::prefixXor(bits); }

    template <bool folds> static std::uint64_t candidates(const char* p, const Needle& needle)
    {
        std::uint64_t bits = 0;
        for (int i = 0; i < kBlock; ++i) {
            bool equal = true;
            for (const NeedleByte& tested : needle.tested)
                equal = equal && (p[i + tested.offset] | tested.caseBit) == tested.value;
            bits |= static_cast<std::uint64_t>(equal) << i;
        }
        return bits;
    }
};
#endif

// The candidates where the whole needle lies.
std::uint64_t verified(const char* p, std::uint64_t candidates, const Needle& needle)
{
    std::uint64_t hits = 0;
    for (; candidates != 0; candidates &= candidates - 1) {
        const int at = std::countr_zero(candidates);
        if (equalAt(p + at, needle.bytes, needle.foldCase))
            hits |= std::uint64_t{1} << at;
    }
    return hits;
}

// The needle's places among the length bytes from position, one at a time: near the end, where
// a whole block and the needle behind it do not fit.
std::uint64_t hitsNearEnd(QByteArrayView content, qsizetype position, qsizetype length,
                          const Needle& needle)
{
    std::uint64_t hits = 0;
    for (qsizetype i = 0; i < length && position + i + needle.bytes.size() <= content.size(); ++i) {
        if (equalAt(content.data() + position + i, needle.bytes, needle.foldCase))
            hits |= std::uint64_t{1} << i;
    }
    return hits;
}

// The value ends of every block walked in a window, so that the start of the record holding a
// byte is found only where it is asked for (at a hit and where the whole records end) instead
// of being followed block by block.
class ValueEndTrail {
public:
    ValueEndTrail(QByteArrayView content, qsizetype from)
        : m_walker(content, from)
        , m_from(from)
    {
        m_ends.reserve(static_cast<size_t>((content.size() - from) / kBlock + 1));
    }

    // Walks the next 1 to 64 bytes (whole blocks but the last), whose classes are masks, on
    // the instructions of Blocks.
    template <typename Blocks>
    [[gnu::always_inline]] bool walk(const ByteMasks& masks, qsizetype length)
    {
        std::uint64_t ends = 0;
        if (!m_walker.walkValueEnds<Blocks>(masks, length, ends))
            return false;
        m_valuesBeforeLast = m_valueCount;
        m_valueCount += std::popcount(ends);
        m_ends.push_back(ends);
        return true;
    }

    // Where the record holding the byte at position begins, position lying in the last block
    // walked or right after it: after the separator ending the last record ended before it.
    qsizetype recordStartAt(qsizetype position) const
    {
        const auto block = static_cast<size_t>((position - m_from) / kBlock);
        const bool inLast = block < m_ends.size();
        const qsizetype offset = position - m_from - qsizetype(block) * kBlock;
        std::uint64_t ends = inLast ? m_ends[block] & RecordWalker::lowBits(offset) : 0;
        const qsizetype valuesBefore =
            (inLast ? m_valuesBeforeLast : m_valueCount) + std::popcount(ends);
        int later = static_cast<int>(valuesBefore % kRecordFieldCount);
        if (valuesBefore == later)
            return m_from;
        for (size_t at = block;; ends = m_ends[--at]) {
            const int count = std::popcount(ends);
            if (count > later) {
                for (; later > 0; --later)
                    ends &= ~(std::uint64_t{1} << (63 - std::countl_zero(ends)));
                const qsizetype blockStart = m_from + qsizetype(at) * kBlock;
                return m_walker.startAfterSeparator(blockStart + 63 - std::countl_zero(ends));
            }
            later -= count;
        }
    }

private:
    RecordWalker m_walker;
    qsizetype m_from;
    std::vector<std::uint64_t> m_ends; // the separators ending values, a block's to a word
    qsizetype m_valueCount = 0;        // of the blocks walked
    qsizetype m_valuesBeforeLast = 0;  // of the blocks before the last
};

struct WindowHits {
    std::vector<qsizetype> recordStarts; // of the records holding a hit, each once, in order
    qsizetype wholeEnd = 0;              // completeRecordsEnd's answer
    bool lost = false;                   // the walker could not follow the layout
};

// One pass over the blocks of content from from: each block is classified for the walk and
// searched for the needles; only a hit asks where its record begins. folds: whether any needle
// is compared without case.
template <typename Blocks, bool folds>
[[gnu::always_inline]] inline WindowHits findHits(QByteArrayView content, qsizetype from,
                                                  const std::vector<Needle>& needles)
{
    qsizetype longest = 0;
    for (const Needle& needle : needles)
        longest = std::max(longest, needle.bytes.size());
    WindowHits hits;
    ValueEndTrail trail(content, from);
    const qsizetype size = content.size();
    const auto keepRecordsOf = [&](qsizetype position, std::uint64_t found) {
        for (; found != 0; found &= found - 1) {
            const qsizetype start = trail.recordStartAt(position + std::countr_zero(found));
            if (hits.recordStarts.empty() || hits.recordStarts.back() != start)
                hits.recordStarts.push_back(start);
        }
    };
    qsizetype position = from;
    // Whole blocks with every needle's bytes behind them, 16 or 32 places at a time.
    for (; position + kBlock + longest - 1 <= size; position += kBlock) {
        const char* p = content.data() + position;
        std::uint64_t found = 0;
        for (const Needle& needle : needles)
            found |= verified(p, Blocks::template candidates<folds>(p, needle), needle);
        hits.lost = !trail.template walk<Blocks>(Blocks::classes(p), kBlock);
        if (hits.lost)
            return hits;
        keepRecordsOf(position, found);
    }
    // The last bytes, a place at a time.
    for (; position < size; position += kBlock) {
        const qsizetype length = std::min(kBlock, size - position);
        std::uint64_t found = 0;
        for (const Needle& needle : needles)
            found |= hitsNearEnd(content, position, length, needle);
        hits.lost =
            !trail.template walk<Blocks>(classifyBytes(content.data() + position, length), length);
        if (hits.lost)
            return hits;
        keepRecordsOf(position, found);
    }
    // A CR the bytes end in may be the first half of a CR LF: the whole records end before it.
    hits.wholeEnd = size > from && content.back() == '\r' ? trail.recordStartAt(size - 1)
                                                          : trail.recordStartAt(size);
    return hits;
}

template <bool folds>
WindowHits findHitsSse2(QByteArrayView content, qsizetype from, const std::vector<Needle>& needles)
{
    return findHits<Sse2Blocks, folds>(content, from, needles);
}

#if defined(CARD_SCAN_X86)
template <bool folds>
[[gnu::target("avx2,pclmul")]] WindowHits findHitsAvx2(QByteArrayView content, qsizetype from,
                                                       const std::vector<Needle>& needles)
{
    return findHits<Avx2Blocks, folds>(content, from, needles);
}
#else
template <bool folds>
WindowHits findHitsAvx2(QByteArrayView content, qsizetype from, const std::vector<Needle>& needles)
{
    return findHitsSse2<folds>(content, from, needles);
}
#endif

// The hits on the chosen path; the case bits are set only where a needle needs them.
WindowHits windowHits(QByteArrayView content, qsizetype from, const std::vector<Needle>& needles,
                      bool avx2)
{
    const bool folds = std::ranges::any_of(needles, &Needle::foldCase);
    if (avx2)
        return folds ? findHitsAvx2<true>(content, from, needles)
                     : findHitsAvx2<false>(content, from, needles);
    return folds ? findHitsSse2<true>(content, from, needles)
                 : findHitsSse2<false>(content, from, needles);
}

// The records among recordStarts that test keeps, read by the value reader within the first
// used bytes.
std::vector<qsizetype> keptAmong(QByteArrayView window, qsizetype used,
                                 const std::vector<qsizetype>& recordStarts,
                                 const HistoryRecordTest& test)
{
    const QByteArrayView records = window.first(used);
    std::vector<qsizetype> kept;
    RecordSlices record;
    for (const qsizetype start : recordStarts) {
        if (start >= used)
            break;
        ValueReader reader(records, start);
        if (!readRecord(reader, record))
            break;
        if (test.keeps(records, record))
            kept.push_back(start);
    }
    return kept;
}

void keepRecord(QByteArrayView records, qsizetype start, KeptRecords& kept)
{
    ValueReader reader(records, start);
    RecordSlices record;
    readRecord(reader, record);
    kept.starts.push_back(static_cast<quint32>(kept.bytes.size()));
    kept.bytes.append(records.sliced(start, reader.position() - start));
}

} // namespace

bool processorHasAvx2()
{
#if defined(CARD_SCAN_X86)
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("pclmul");
#else
    return false;
#endif
}

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

HistoryWindowScan scanHistoryWindow(QByteArrayView window, qsizetype from, bool atEnd,
                                    const HistoryRecordTest& test, ScanInstructions instructions)
{
    if (!test.requiredBytes().isEmpty()) {
        const std::vector<Needle> needles =
            needlesOf(test.requiredBytes(), test.ignoresAsciiCase());
        const bool avx2 = instructions != ScanInstructions::Sse2 && processorHasAvx2();
        const WindowHits hits = windowHits(window, from, needles, avx2);
        if (!hits.lost) {
            const qsizetype used = atEnd ? window.size() : hits.wholeEnd;
            return {keptAmong(window, used, hits.recordStarts, test), used};
        }
    }
    const qsizetype used = atEnd ? window.size() : completeRecordsEnd(window, from);
    return {readHistoryRecords(window.first(used), from, test), used};
}

bool keepHistoryRecords(ByteWindows& windows, const HistoryRecordTest& test, KeptRecords& kept,
                        ScanInstructions instructions)
{
    qsizetype used = 0;
    while (windows.next(used)) {
        const QByteArrayView bytes = windows.bytes();
        const qsizetype from = windows.offset() == 0 ? utf8BomLength(bytes) : 0;
        const HistoryWindowScan scan =
            scanHistoryWindow(bytes, from, windows.reachesEnd(), test, instructions);
        for (const qsizetype start : scan.starts)
            keepRecord(bytes.first(scan.used), start, kept);
        used = scan.used;
    }
    return windows.status() == FileReadStatus::Ok;
}

} // namespace card
