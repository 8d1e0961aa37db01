#include "core/text/value_reader.h"

#include "core/text/shared_texts.h"
#include "core/text/text_decoding.h"
#include "support/temp_site.h"

#include <QTest>

namespace {

QStringList readValues(const QByteArray& bytes)
{
    const card::TextCodec codec(card::detectEncoding(bytes));
    card::ValueReader reader(bytes);
    QStringList values;
    card::ValueSlice value;
    while (reader.next(value))
        values << card::valueText(bytes, value, codec);
    return values;
}

} // namespace

class TestValueReader : public QObject {
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void numbers_data();
    void numbers();
    void big5AndUtf8GiveTheSameValues();
    void nextAtEndLeavesValueUntouched();
    void sharedTextsKeepEachReadingApart();
};

void TestValueReader::values_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("one per line, crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("commas and lines mixed") << QByteArray("a,b\r\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("lone lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("lone cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("lf cr is two line ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("two commas") << QByteArray("a,,b") << QStringList{"a", "", "b"};
    QTest::newRow("empty line") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("comma then line end") << QByteArray("a,\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("leading blanks and tabs") << QByteArray("  \t a,\tb") << QStringList{"a", "b"};
    QTest::newRow("trailing blanks dropped") << QByteArray("a b  \t,c") << QStringList{"a b", "c"};
    QTest::newRow("quoted commas and blanks")
        << QByteArray("\" D:\\Rec, 2 \",x") << QStringList{" D:\\Rec, 2 ", "x"};
    QTest::newRow("quoted line end") << QByteArray("\"a\r\nb\",c") << QStringList{"a\r\nb", "c"};
    QTest::newRow("text after closing quote ignored")
        << QByteArray("\"a\"junk,b") << QStringList{"a", "b"};
    QTest::newRow("empty quotes") << QByteArray("\"\",b") << QStringList{"", "b"};
    QTest::newRow("unterminated quote runs to the end")
        << QByteArray("x,\"a,b\r\nc") << QStringList{"x", "a,b\r\nc"};
    QTest::newRow("hash value") << QByteArray("#08:15:30#,#2007-05-15#")
                                << QStringList{"08:15:30", "2007-05-15"};
    QTest::newRow("lone hash is text") << QByteArray("#12,b") << QStringList{"#12", "b"};
    QTest::newRow("unquoted folder") << QByteArray("D:\\Records\r\n") << QStringList{"D:\\Records"};
    QTest::newRow("quote inside unquoted value")
        << QByteArray("ab\"c,d") << QStringList{"ab\"c", "d"};
    QTest::newRow("blanks only at the end") << QByteArray("a\r\n   ") << QStringList{"a", ""};
    QTest::newRow("nul bytes are text")
        << QByteArray("a\0b,c", 5) << QStringList{QString::fromLatin1("a\0b", 3), "c"};
    QTest::newRow("utf8 bom-free chinese")
        << QByteArray("\xE9\x80\xB2,\xE5\x87\xBA") << QStringList{"進", "出"};
    QTest::newRow("big5 record")
        << QByteArray("08:15:30,\"00012345\",\"\xB3\xAF\xA9\xC9\xA7\x67\",\"\xB6\x69\"\r\n")
        << QStringList{"08:15:30", "00012345", "陳怡君", "進"};
    QTest::newRow("long line past the fast path")
        << QByteArray("abcdefghijklmnopqrstuvwxyz0123456789,abcdefghijklmnopq\r\n")
        << QStringList{"abcdefghijklmnopqrstuvwxyz0123456789", "abcdefghijklmnopq"};
}

void TestValueReader::values()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(readValues(bytes), expected);
}

void TestValueReader::numbers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("leading zeros") << QByteArray("0017") << "17";
    QTest::newRow("007") << QByteArray("007") << "7";
    QTest::newRow("trailing fraction zeros") << QByteArray("2.50") << "2.5";
    QTest::newRow("whole fraction zeros") << QByteArray("3.000") << "3";
    QTest::newRow("zero") << QByteArray("000") << "0";
    QTest::newRow("minus zero") << QByteArray("-0") << "0";
    QTest::newRow("minus zero fraction") << QByteArray("-0.00") << "0";
    QTest::newRow("plus sign") << QByteArray("+5") << "5";
    QTest::newRow("negative") << QByteArray("-012.340") << "-12.34";
    QTest::newRow("small fraction") << QByteArray("0.001") << "0.001";
    QTest::newRow("long card number kept exact")
        << QByteArray("00123456789012345678901") << "123456789012345678901";
    QTest::newRow("trailing blank still a number") << QByteArray("0012 ") << "12";
    QTest::newRow("quoted is text") << QByteArray("\"0012\"") << "0012";
    QTest::newRow("exponent is text") << QByteArray("1e5") << "1e5";
    QTest::newRow("point without digits is text") << QByteArray("5.") << "5.";
    QTest::newRow("leading point is text") << QByteArray(".5") << ".5";
    QTest::newRow("time is text") << QByteArray("08:15:30") << "08:15:30";
    QTest::newRow("inner blank is text") << QByteArray("12 34") << "12 34";
    QTest::newRow("sign only is text") << QByteArray("-") << "-";
}

void TestValueReader::numbers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QStringList values = readValues(bytes);
    QCOMPARE(values.size(), 1);
    QCOMPARE(values.first(), expected);
}

void TestValueReader::big5AndUtf8GiveTheSameValues()
{
    const QString content = QStringLiteral("07:59:01,\"00012345\",\"林志明\",\"出\"\r\n"
                                           "8:05:07,0012345,碁€,進\r\n");
    const QStringList fromUtf8 = readValues(content.toUtf8());
    QCOMPARE(fromUtf8.size(), 8);
    QCOMPARE(readValues(card::test::big5(content)), fromUtf8);
    QCOMPARE(fromUtf8.at(5), QStringLiteral("12345"));
    QCOMPARE(fromUtf8.at(6), QStringLiteral("碁€"));
}

void TestValueReader::nextAtEndLeavesValueUntouched()
{
    const QByteArray bytes("a\r\n");
    card::ValueReader reader(bytes);
    card::ValueSlice value;
    QVERIFY(reader.next(value));
    QVERIFY(reader.atEnd());
    value.begin = 42;
    QVERIFY(!reader.next(value));
    QCOMPARE(value.begin, 42);
}

// Equal bytes read as a number, as quoted text or in the other encoding each keep their own
// text, and equal values share one string.
void TestValueReader::sharedTextsKeepEachReadingApart()
{
    const QByteArray bytes("007,\"007\",\"\xC3\xA9\",007\r\n");
    card::ValueReader reader(bytes);
    QList<card::ValueSlice> values;
    for (card::ValueSlice value; reader.next(value);)
        values << value;
    QCOMPARE(values.size(), 4);
    card::SharedTexts shared;
    for (const card::TextEncoding encoding :
         {card::TextEncoding::Utf8, card::TextEncoding::Windows950}) {
        const card::TextCodec codec(encoding);
        for (const card::ValueSlice& value : values)
            QCOMPARE(shared.text(bytes, value, codec), card::valueText(bytes, value, codec));
        QCOMPARE(shared.text(bytes, values[0], codec).constData(),
                 shared.text(bytes, values[3], codec).constData());
    }
}

QTEST_GUILESS_MAIN(TestValueReader)
#include "tst_value_reader.moc"
