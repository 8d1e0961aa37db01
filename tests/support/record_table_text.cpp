#include "support/record_table_text.h"

#include "param_file/value_reader.h"

namespace card::test {

RecordTable recordTableFromText(const QByteArray& text, TextEncoding encoding) {
    RecordTable table(text, encoding);
    ValueReader reader(text);
    RecordSlices record;
    while (reader.next(record[0])) {
        for (size_t field = 1; field < record.size(); ++field) {
            if (!reader.next(record[field]))
                qFatal("test records must come in fours");
        }
        table.append(record);
    }
    return table;
}

} // namespace card::test
