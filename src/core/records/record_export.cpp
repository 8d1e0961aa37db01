#include "core/records/record_export.h"

#include "core/text/day_text.h"
#include "core/text/file_names.h"

#include <QIODevice>

#include <array>
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

constexpr int kCardColumn = 1;

bool needsQuotes(QByteArrayView utf8)
{
    for (const char c : utf8) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    }
    return false;
}

// A spreadsheet reads a cell that begins so as a formula; a record file is not trusted input.
bool opensFormula(QByteArrayView utf8)
{
    if (utf8.isEmpty())
        return false;
    const char first = utf8.front();
    return first == '=' || first == '+' || first == '-' || first == '@' || first == '\t' ||
           first == '\r';
}

// The CSV field of a UTF-8 value (RFC 4180), a formula opener neutralised by a leading
// apostrophe. quoted forces the quotes, which keep a card number's leading zeros as text for
// spreadsheets that honour them, without changing the value.
void appendCsvValue(QByteArray& out, QByteArrayView utf8, bool quoted)
{
    const bool quote = quoted || needsQuotes(utf8);
    if (quote)
        out += '"';
    if (opensFormula(utf8))
        out += '\'';
    if (!quote) {
        out.append(utf8);
        return;
    }
    for (const char c : utf8) {
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

// Writes the rows of a table as CSV lines: the day, then each value exactly as RecordTable::text
// gives it.
class CsvRowWriter {
public:
    CsvRowWriter(const RecordTable& table, QDate day)
        : m_table(table)
        , m_day(day.toString(Qt::ISODate).toUtf8())
    {}

    void appendRow(QByteArray& out, qsizetype row)
    {
        out.append(m_day);
        const RecordSlices values = m_table.slices(row);
        const TextEncoding encoding =
            recordEncoding(recordSpan(m_table.bytes(), m_table.recordStart(row), values.back()));
        for (int column = 0; column < kRecordFieldCount; ++column) {
            out += ',';
            appendValue(out, row, column, values[static_cast<size_t>(column)], encoding);
        }
        out += "\r\n";
    }

private:
    void appendValue(QByteArray& out, qsizetype row, int column, const ValueSlice& value,
                     TextEncoding encoding)
    {
        const QByteArrayView raw = m_table.bytes().sliced(value.begin, value.length);
        const bool quoted = column == kCardColumn;
        if (value.isNumber) {
            const CanonicalNumberParts number = canonicalNumberParts(raw);
            m_number.resize(0); // keeps its capacity
            if (number.negative)
                m_number += '-';
            m_number.append(number.digits);
            appendCsvValue(out, m_number, quoted);
        } else if (value.length > kMaxShownValueBytes) {
            appendCsvValue(out, m_table.text(row, column).toUtf8(), quoted); // shown cut off
        } else if (isAscii(raw)) {
            // ASCII bytes are the same text in UTF-8 and code page 950: not decoded.
            appendCsvValue(out, raw, quoted);
        } else if (quoted) {
            appendCsvValue(out, m_table.text(row, column).toUtf8(), quoted); // a rare card
        } else {
            const std::string& field = remembered(raw, encoding, row, column);
            out.append(field.data(), static_cast<qsizetype>(field.size()));
        }
    }

    // The CSV form of a non-ASCII value, decoded once per distinct value and encoding.
    const std::string& remembered(QByteArrayView raw, TextEncoding encoding, qsizetype row,
                                  int column)
    {
        const std::string_view key(raw.data(), static_cast<size_t>(raw.size()));
        auto& fields = m_fields[encoding == TextEncoding::Utf8 ? 0 : 1];
        const auto found = fields.find(key);
        if (found != fields.end())
            return found->second;
        if (fields.size() >= kMaxRememberedValues)
            fields.clear();
        QByteArray field;
        appendCsvValue(field, m_table.text(row, column).toUtf8(), false);
        return fields
            .emplace(std::string(key),
                     std::string(field.constData(), static_cast<size_t>(field.size())))
            .first->second;
    }

    const RecordTable& m_table;
    const QByteArray m_day;
    QByteArray m_number; // a number's canonical form, reused from row to row
    // One per encoding: the same bytes read otherwise in a record of the other.
    std::array<std::unordered_map<std::string, std::string, StringViewHash, std::equal_to<>>, 2>
        m_fields;
};

} // namespace

QString recordCopyLine(const RecordTable& table, QDate day, qsizetype row)
{
    QString line = day.toString(Qt::ISODate);
    for (int column = 0; column < kRecordFieldCount; ++column)
        line += u'\t' + table.text(row, column);
    return line;
}

QString csvField(const QString& value, bool quoted)
{
    QByteArray field;
    appendCsvValue(field, value.toUtf8(), quoted);
    return QString::fromUtf8(field);
}

bool writeRecordsCsv(const RecordTable& table, QDate day, QIODevice& device)
{
    QByteArray chunk;
    chunk.reserve(kChunkBytes + 4 * 1024);
    chunk += "\xEF\xBB\xBF"; // the UTF-8 byte order mark
    chunk += kCsvHeader.toUtf8();
    chunk += "\r\n";
    CsvRowWriter rows(table, day);
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
    return proposedFileName(QStringLiteral("刷卡紀錄"), {dayText(day)}, QStringLiteral("csv"));
}

SafeWriteResult exportRecordsCsv(const RecordTable& table, QDate day, const QString& target,
                                 const QStringList& protectedPlaces)
{
    return writeFileSafely(target, protectedPlaces, [&table, day](QIODevice& file) {
        return writeRecordsCsv(table, day, file);
    });
}

QStringList historySwipeValues(const Swipe& swipe)
{
    return QStringList{dayText(swipe.day)} + swipe.columnTexts();
}

QString historyCopyLine(const Swipe& swipe)
{
    return historySwipeValues(swipe).join(u'\t');
}

bool writeValuesCsv(const QString& header, qsizetype rowCount,
                    const std::function<QStringList(qsizetype row)>& values, QIODevice& device,
                    qsizetype cardColumn)
{
    QString text = header + QStringLiteral("\r\n");
    for (qsizetype row = 0; row < rowCount; ++row) {
        QStringList fields;
        const QStringList rowValues = values(row);
        for (qsizetype column = 0; column < rowValues.size(); ++column)
            fields.append(csvField(rowValues[column], column == cardColumn));
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    const QByteArray bytes = "\xEF\xBB\xBF" + text.toUtf8(); // with the byte order mark
    return device.write(bytes) == bytes.size();
}

bool writeSwipesCsv(const QList<Swipe>& swipes, QIODevice& device)
{
    return writeValuesCsv(
        kCsvHeader, swipes.size(),
        [&swipes](qsizetype row) { return historySwipeValues(swipes[row]); }, device);
}

QString historyCsvFileName(const QString& text, QDate end)
{
    return proposedFileName(QStringLiteral("本卡歷史"), {text, dayText(end)},
                            QStringLiteral("csv"));
}

SafeWriteResult exportSwipesCsv(const QList<Swipe>& swipes, const QString& target,
                                const QStringList& protectedPlaces)
{
    return writeFileSafely(target, protectedPlaces,
                           [&swipes](QIODevice& file) { return writeSwipesCsv(swipes, file); });
}

} // namespace card
