#include "core/records/record_export.h"

#include <QDir>
#include <QIODevice>
#include <QStandardPaths>

namespace card {

namespace {

// Text collected before it is encoded and written: small against any day file.
constexpr qsizetype kChunkChars = 32 * 1024;

const QString kFieldsNeedingQuotes = QStringLiteral(",\"\r\n");

bool needsQuotes(const QString& value)
{
    for (const QChar c : value) {
        if (kFieldsNeedingQuotes.contains(c))
            return true;
    }
    return false;
}

void appendField(QString& out, const QString& value)
{
    if (!needsQuotes(value)) {
        out += value;
        return;
    }
    out += u'"';
    for (const QChar c : value) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

bool writeUtf8(QIODevice& device, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

} // namespace

QString recordCopyLine(const RecordTable& table, qsizetype row)
{
    QString line;
    for (int column = 0; column < kRecordFieldCount; ++column) {
        if (column > 0)
            line += u'\t';
        line += table.text(row, column);
    }
    return line;
}

QString csvField(const QString& value)
{
    QString field;
    appendField(field, value);
    return field;
}

bool writeRecordsCsv(const RecordTable& table, QIODevice& device)
{
    QString chunk;
    chunk.reserve(kChunkChars + 1024);
    chunk += QChar(0xFEFF); // encoded as the UTF-8 byte order mark EF BB BF
    chunk += kCsvHeader;
    chunk += QLatin1String("\r\n");
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < kRecordFieldCount; ++column) {
            if (column > 0)
                chunk += u',';
            appendField(chunk, table.text(row, column));
        }
        chunk += QLatin1String("\r\n");
        if (chunk.size() >= kChunkChars) {
            if (!writeUtf8(device, chunk))
                return false;
            chunk.clear(); // keeps its capacity
        }
    }
    return writeUtf8(device, chunk);
}

QString csvFileName(QDate day)
{
    return QStringLiteral("刷卡紀錄-%1.csv").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

QString proposedCsvPath(QDate day)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).filePath(csvFileName(day));
}

SafeWriteResult exportRecordsCsv(const RecordTable& table, const QString& target,
                                 const QStringList& protectedFolders)
{
    return writeFileSafely(target, protectedFolders,
                           [&table](QIODevice& file) { return writeRecordsCsv(table, file); });
}

} // namespace card
