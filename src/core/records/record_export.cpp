#include "core/records/record_export.h"

#include <QDir>
#include <QIODevice>
#include <QStandardPaths>

#include <string>
#include <string_view>
#include <unordered_map>

namespace card {

namespace {

// Bytes collected before they are written: small against any day file.
constexpr qsizetype kChunkBytes = 64 * 1024;
// Distinct non-ASCII values remembered with their CSV form. A day repeats the same few thousand
// names and two directions; the bound keeps a file of all-different values from growing it.
constexpr size_t kMaxRememberedValues = 16 * 1024;

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

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// ASCII bytes are the same text in UTF-8 and code page 950: quoted on the bytes, not decoded.
void appendAsciiField(QByteArray& out, QByteArrayView raw)
{
    bool quote = false;
    for (const char c : raw) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n') {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out.append(raw);
        return;
    }
    out += '"';
    for (const char c : raw) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

struct StringViewHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// Writes the rows of a table as CSV lines, each value exactly as RecordTable::text gives it.
class CsvRowWriter {
public:
    explicit CsvRowWriter(const RecordTable& table)
        : m_table(table)
    {}

    void appendRow(QByteArray& out, qsizetype row)
    {
        const RecordSlices values = m_table.slices(row);
        for (int column = 0; column < kRecordFieldCount; ++column) {
            if (column > 0)
                out += ',';
            appendValue(out, row, column, values[static_cast<size_t>(column)]);
        }
        out += "\r\n";
    }

private:
    void appendValue(QByteArray& out, qsizetype row, int column, const ValueSlice& value)
    {
        const QByteArrayView raw = m_table.bytes().sliced(value.begin, value.length);
        if (value.isNumber) {
            const CanonicalNumberParts number = canonicalNumberParts(raw);
            if (number.negative)
                out += '-';
            out.append(number.digits);
        } else if (value.length > kMaxShownValueBytes) {
            out += csvField(m_table.text(row, column)).toUtf8(); // shown cut off
        } else if (isAscii(raw)) {
            appendAsciiField(out, raw);
        } else {
            const std::string& field = remembered(raw, row, column);
            out.append(field.data(), static_cast<qsizetype>(field.size()));
        }
    }

    // The CSV form of a non-ASCII value, decoded once per distinct value.
    const std::string& remembered(QByteArrayView raw, qsizetype row, int column)
    {
        const std::string_view key(raw.data(), static_cast<size_t>(raw.size()));
        const auto found = m_fields.find(key);
        if (found != m_fields.end())
            return found->second;
        if (m_fields.size() >= kMaxRememberedValues)
            m_fields.clear();
        const QByteArray field = csvField(m_table.text(row, column)).toUtf8();
        return m_fields
            .emplace(std::string(key),
                     std::string(field.constData(), static_cast<size_t>(field.size())))
            .first->second;
    }

    const RecordTable& m_table;
    std::unordered_map<std::string, std::string, StringViewHash, std::equal_to<>> m_fields;
};

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
    QByteArray chunk;
    chunk.reserve(kChunkBytes + 4 * 1024);
    chunk += "\xEF\xBB\xBF"; // the UTF-8 byte order mark
    chunk += kCsvHeader.toUtf8();
    chunk += "\r\n";
    CsvRowWriter rows(table);
    for (qsizetype row = 0; row < table.rowCount(); ++row) {
        rows.appendRow(chunk, row);
        if (chunk.size() >= kChunkBytes) {
            if (device.write(chunk) != chunk.size())
                return false;
            chunk.resize(0); // keeps its capacity
        }
    }
    return device.write(chunk) == chunk.size();
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

QStringList historySwipeValues(const Swipe& swipe)
{
    return {swipe.day.toString(QStringLiteral("yyyy-MM-dd")), swipe.time, swipe.card, swipe.name,
            swipe.direction};
}

QString historyCopyLine(const Swipe& swipe)
{
    return historySwipeValues(swipe).join(u'\t');
}

bool writeSwipesCsv(const QList<Swipe>& swipes, QIODevice& device)
{
    QString text = kHistoryCsvHeader + QStringLiteral("\r\n");
    for (const Swipe& swipe : swipes) {
        QStringList fields;
        for (const QString& value : historySwipeValues(swipe))
            fields.append(csvField(value));
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    const QByteArray bytes = "\xEF\xBB\xBF" + text.toUtf8(); // with the byte order mark
    return device.write(bytes) == bytes.size();
}

QString historyCsvFileName(const QString& text, QDate end)
{
    QString safe = text;
    for (QChar& c : safe) {
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = u'_';
    }
    return QStringLiteral("本卡歷史-%1-%2.csv")
        .arg(safe, end.toString(QStringLiteral("yyyy-MM-dd")));
}

SafeWriteResult exportSwipesCsv(const QList<Swipe>& swipes, const QString& target,
                                const QStringList& protectedFolders)
{
    return writeFileSafely(target, protectedFolders,
                           [&swipes](QIODevice& file) { return writeSwipesCsv(swipes, file); });
}

} // namespace card
