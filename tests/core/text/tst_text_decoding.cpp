#include "core/text/text_decoding.h"

#include <QRandomGenerator>
#include <QTest>

using card::TextCodec;
using card::TextEncoding;

class TestTextDecoding : public QObject {
    Q_OBJECT
private slots:
    void detectsEncoding_data();
    void detectsEncoding();
    void recordEncoding_data();
    void recordEncoding();
    void decodesBig5();
    void decodesWindowsExtensions();
    void encodesDirectionsAsReadersWriteThem();
    void undecodableBytesBecomeReplacementCharacters();
    void decodesAsTheConverterDoes();
    void bomLength();
};

void TestTextDecoding::detectsEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("expected");
    QTest::newRow("empty") << QByteArray() << TextEncoding::Utf8;
    QTest::newRow("ascii") << QByteArray("08:15:30,\"0012\"\r\n") << TextEncoding::Utf8;
    QTest::newRow("utf8 進") << QByteArray("\xE9\x80\xB2") << TextEncoding::Utf8;
    QTest::newRow("utf8 with bom") << QByteArray("\xEF\xBB\xBF\xE5\x87\xBA") << TextEncoding::Utf8;
    QTest::newRow("big5 進") << QByteArray("\xB6\x69") << TextEncoding::Windows950;
    QTest::newRow("big5 出 after long ascii")
        << QByteArray("0123456789abcdef0123456789abcdef,\xA5\x58") << TextEncoding::Windows950;
    QTest::newRow("utf8 cut off at the end") << QByteArray("abc\xE9\x80") << TextEncoding::Utf8;
    QTest::newRow("utf8 cut off in the middle")
        << QByteArray("abc\xE9\x80,x") << TextEncoding::Windows950;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << TextEncoding::Windows950;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << TextEncoding::Windows950;
    QTest::newRow("beyond unicode") << QByteArray("\xF4\x90\x80\x80") << TextEncoding::Windows950;
    QTest::newRow("ff ff") << QByteArray("\xFF\xFF") << TextEncoding::Windows950;
}

void TestTextDecoding::detectsEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, expected);
    QCOMPARE(card::detectEncoding(bytes), expected);
}

void TestTextDecoding::recordEncoding_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<TextEncoding>("encoding");
    const QByteArray time("08:15:30,\"7\",\"");
    QTest::newRow("ascii") << time + "x\",\"in\"" << TextEncoding::Windows950;
    QTest::newRow("code page 950") << time + "\xB3\xAF\",\"\xB6\x69\"" << TextEncoding::Windows950;
    QTest::newRow("utf-8") << time + "\xE9\x99\xB3\",\"\xE9\x80\xB2\"" << TextEncoding::Utf8;
    QTest::newRow("utf-8 name, code page 950 direction")
        << time + "\xE9\x99\xB3\",\"\xB6\x69\"" << TextEncoding::Windows950;
    QTest::newRow("valid in both") << time + "\xC3\xA9\",\"in\"" << TextEncoding::Windows950;
    QTest::newRow("utf-8 cut inside its last character")
        << time + "x\",\"\xE9\x80" << TextEncoding::Utf8;
}

void TestTextDecoding::recordEncoding()
{
    QFETCH(QByteArray, record);
    QFETCH(TextEncoding, encoding);
    QCOMPARE(card::recordEncoding(record), encoding);
}

void TestTextDecoding::decodesBig5()
{
    const TextCodec codec(TextEncoding::Windows950);
    QCOMPARE(codec.decode("\xB6\x69"), QStringLiteral("進"));
    QCOMPARE(codec.decode("\xA5\x58"), QStringLiteral("出"));
    QCOMPARE(codec.decode("\xB3\xAF\xA9\xC9\xA7\x67"), QStringLiteral("陳怡君"));
}

void TestTextDecoding::decodesWindowsExtensions()
{
    const TextCodec codec(TextEncoding::Windows950);
    QCOMPARE(codec.decode("\xA3\xE1"), QStringLiteral("€"));
    QCOMPARE(codec.decode("\xF9\xD6"), QStringLiteral("碁"));
}

void TestTextDecoding::encodesDirectionsAsReadersWriteThem()
{
    const TextCodec big5(TextEncoding::Windows950);
    QCOMPARE(big5.encode(u"進"), QByteArray("\xB6\x69"));
    QCOMPARE(big5.encode(u"出"), QByteArray("\xA5\x58"));
    const TextCodec utf8(TextEncoding::Utf8);
    QCOMPARE(utf8.encode(u"出"), QByteArray("\xE5\x87\xBA"));
}

void TestTextDecoding::undecodableBytesBecomeReplacementCharacters()
{
    const TextCodec codec(TextEncoding::Windows950);
    const QString lone = codec.decode("ab\xB6");
    QVERIFY(lone.startsWith(QStringLiteral("ab")));
    QVERIFY(lone.size() >= 3);
    // The state of one value never leaks into the next.
    QCOMPARE(codec.decode("\x69"), QStringLiteral("i"));
    const TextCodec utf8(TextEncoding::Utf8);
    QCOMPARE(utf8.decode("a\xFF"), QStringLiteral("a\uFFFD"));
}

// Random short values of ASCII (control bytes too), code page 950 pairs, stray high bytes and lone
// lead bytes: the codec gives what the converter gives (the lone lead byte at the end aside, which
// it marks).
void TestTextDecoding::decodesAsTheConverterDoes()
{
    const TextCodec codec(TextEncoding::Windows950);
    QStringDecoder converter("windows-950", QStringDecoder::Flag::Stateless);
    QRandomGenerator random(950);
    for (int k = 0; k < 20000; ++k) {
        QByteArray bytes;
        for (int length = random.bounded(1, 6); length > 0; --length) {
            bytes.append(static_cast<char>(random.bounded(2) == 0 ? random.bounded(0, 0x80)
                                                                  : random.bounded(0x80, 0x100)));
            if (random.bounded(4) != 0)
                bytes.append(static_cast<char>(random.bounded(0x40, 0x100)));
        }
        converter.resetState();
        const QString expected = converter.decode(bytes);
        const QString decoded = codec.decode(bytes);
        if (decoded != expected)
            QCOMPARE(decoded.chopped(1), expected);
    }
}

void TestTextDecoding::bomLength()
{
    QCOMPARE(card::utf8BomLength("\xEF\xBB\xBFx"), 3);
    QCOMPARE(card::utf8BomLength("\xEF\xBBx"), 0);
    QCOMPARE(card::utf8BomLength(""), 0);
}

QTEST_GUILESS_MAIN(TestTextDecoding)
#include "tst_text_decoding.moc"
