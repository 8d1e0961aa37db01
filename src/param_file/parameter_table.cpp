#include "param_file/parameter_table.h"

#include "param_file/value_reader.h"
#include "platform/file_bytes.h"
#include "platform/text_decoding.h"

namespace card {

bool readParameterFile(const QString& path, ParameterTable& para)
{
    QByteArray bytes;
    if (readFileSnapshot(path, kMaxParameterFileSize, bytes) != FileReadStatus::Ok)
        return false;
    return readParameterValues(bytes, para);
}

bool readParameterValues(QByteArrayView bytes, ParameterTable& para)
{
    const QByteArrayView content = QByteArrayView(bytes).sliced(utf8BomLength(bytes));
    const TextCodec codec(detectEncoding(content));
    ValueReader reader(content);
    for (QString& slot : para) {
        ValueSlice value;
        if (!reader.next(value))
            return false;
        slot = valueText(content, value, codec);
    }
    return true;
}

} // namespace card
