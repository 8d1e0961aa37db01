#include "support/record_table_text.h"

#include "record_query/record_reader.h"

namespace card::test {

RecordTable recordTableFromText(const QByteArray& text)
{
    return readRecords(text, RecordCriteria{});
}

} // namespace card::test
