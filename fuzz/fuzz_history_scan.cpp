// The card history's fast scan over arbitrary bytes must keep exactly the records the full
// reader keeps, on each instruction set, over the whole day, over the whole records of a window
// that does not reach the end, and read window by window. Input: one byte (bit 0 choosing card
// or name search, the others the window size), the searched text up to the first '\n', then
// the day file.
#include "core/records/history_scan.h"
#include "core/records/record_reader.h"
#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"
#include "fuzz_input.h"

#include <cstddef>
#include <cstdint>

namespace {

// The kept records' bytes, back to back, as the windowed read copies them.
QByteArray recordsAt(QByteArrayView file, const std::vector<qsizetype>& starts)
{
    QByteArray bytes;
    for (const qsizetype start : starts) {
        card::ValueReader reader(file, start);
        card::RecordSlices record;
        card::readRecord(reader, record);
        bytes += file.sliced(start, reader.position() - start);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<card::fuzz::DayFileInput> input = card::fuzz::dayFileInput(data, size);
    if (!input)
        return 0;
    const std::uint8_t choices = input->choices;
    const QByteArrayView text = input->text;
    const QByteArrayView file = input->file;
    const auto field = (choices & 1) != 0 ? card::HistoryField::Name : card::HistoryField::Card;
    const qsizetype step = choices >> 1;
    const qsizetype windowBytes = 1 + step * step; // 1 to 16,130 bytes

    const qsizetype bom = card::utf8BomLength(file);
    const card::HistoryRecordTest test(field, QString::fromUtf8(text));
    const std::vector<qsizetype> plain = card::readHistoryRecords(file, bom, test);
    const qsizetype wholeEnd = card::completeRecordsEnd(file, bom);
    const std::vector<qsizetype> plainWhole =
        card::readHistoryRecords(file.first(wholeEnd), bom, test);
    for (const auto instructions : {card::ScanInstructions::Sse2, card::ScanInstructions::Avx2}) {
        if (card::scanHistoryWindow(file, bom, true, test, instructions).starts != plain)
            __builtin_trap();
        const card::HistoryWindowScan cut =
            card::scanHistoryWindow(file, bom, false, test, instructions);
        if (cut.used != wholeEnd || cut.starts != plainWhole)
            __builtin_trap();
        card::MemoryWindows windows(file, windowBytes);
        card::KeptRecords kept;
        if (!card::keepHistoryRecords(windows, test, kept, instructions) ||
            kept.starts.size() != plain.size() || kept.bytes != recordsAt(file, plain))
            __builtin_trap();
    }
    return 0;
}
