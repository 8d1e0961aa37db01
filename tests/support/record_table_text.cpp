#include "support/record_table_text.h"

#include "core/records/record_reader.h"

namespace card::test {

RecordTable recordTableFromText(const QByteArray& text)
{
    return readRecords(text, RecordCriteria{});
}

} // namespace card::test
