// The card history's fast scan over arbitrary bytes must keep exactly the records the full
// reader keeps. Input: one byte choosing card or name search, the searched text up to the
// first '\n', then the day file.
#include "core/records/history_scan.h"
#include "core/text/text_decoding.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QByteArrayView input(reinterpret_cast<const char*>(data + 1),
                               static_cast<qsizetype>(size - 1));
    const qsizetype newline = input.indexOf('\n');
    const QByteArrayView text = newline < 0 ? QByteArrayView() : input.first(newline);
    const QByteArrayView file = newline < 0 ? input : input.sliced(newline + 1);
    const auto field = (data[0] & 1) != 0 ? card::HistoryField::Name : card::HistoryField::Card;

    const qsizetype bom = card::utf8BomLength(file);
    const card::HistoryRecordTest test(field, QString::fromUtf8(text));
    if (card::scanHistoryRecords(file, bom, test) != card::readHistoryRecords(file, bom, test))
        __builtin_trap();
    return 0;
}
