#include "AppState.h"
#include "CountryData.h"
#include "Cp932.h"
#include "DataError.h"
#include "DataPath.h"
#include "RegionCatalogue.h"
#include "TempDataRoot.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const RegionInfo &asia()
{
    return RegionCatalogue::region(1);
}

const RegionInfo &nis()
{
    return RegionCatalogue::region(6);
}

// A kuni.txt of `count` records "国k,p" with list positions reversed.
QByteArray countryList(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += u"国%1,%2\r\n"_s.arg(i).arg(count + 1 - i);
    return Cp932::encode(text);
}

// ICU's windows-31j keeps IBM's exchange of three control codes: byte 1A is
// U+001C, 1C is U+007F and 7F is U+001A. It writes an illegal sequence as
// U+001A, a code without a character as U+FFFD, and drops a lead byte that
// ends the input.
char16_t icuControl(char16_t c)
{
    switch (c) {
    case 0x1a: return 0x1c;
    case 0x1c: return 0x7f;
    case 0x7f: return 0x1a;
    default: return c;
    }
}

bool endsWithLoneLeadByte(QByteArrayView bytes)
{
    bool expectTrail = false;
    for (const char c : bytes) {
        const quint8 byte = quint8(c);
        expectTrail = !expectTrail && ((byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc));
    }
    return expectTrail;
}

// Whether the reader's text of `bytes` is ICU's in the reader's terms. The
// one ambiguity, U+001A for either byte 7F or an illegal sequence, is settled
// by the count of 7F bytes, each of which is a character of its own.
bool readsAsIcu(QString text, const QString &icuText, QByteArrayView bytes)
{
    if (endsWithLoneLeadByte(bytes) && text.endsWith(QChar::ReplacementCharacter))
        text.chop(1);
    if (text.size() != icuText.size() || text.count(QChar(0x7f)) != bytes.count('\x7f'))
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char16_t icu = icuText[i].unicode();
        if (c == QChar::ReplacementCharacter ? icu != 0x1a && icu != c : icu != icuControl(c))
            return false;
    }
    return true;
}

QByteArray icuEncode(const QString &text)
{
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    // The exchanged controls never occur inside a double-byte code.
    for (char &byte : bytes)
        byte = char(icuControl(quint8(byte)));
    return bytes;
}

} // namespace

class DataReadersTest : public QObject
{
    Q_OBJECT

private slots:
    void decodesCodePage932_data();
    void decodesCodePage932();
    void encodes_data();
    void encodes();
    void encodingRoundTrip();
    void agreesWithIcuOverEveryCode();

    void dataRootDropsOneTrailingSeparator_data();
    void dataRootDropsOneTrailingSeparator();
    void dataPathHasOneSeparatorAtTheRoot();

    void countryFilePath_data();
    void countryFilePath();

    void countryListReadsExactlyNRecords();
    void countryListFieldRules_data();
    void countryListFieldRules();
    void countryListFailures_data();
    void countryListFailures();
    void failureKeepsWhatWasStoredBefore();
    void duplicateAndZeroListPositions();
    void unnamedSlotsKeepEarlierContent();
    void countryNamesOnlyIgnoresListPositions();

    void pageTableReadsLabelsAndAddresses();
    void pageTableWithTooFewRecordsFails();

    void textLines_data();
    void textLines();
    void missingTextFileNamesTheFile();

    void boundedArraysReportIndexErrors_data();
    void boundedArraysReportIndexErrors();
    void regionCatalogue();
};

void DataReadersTest::decodesCodePage932_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("wave dash is full-width tilde") << QByteArray("\x81\x60") << u"\uFF5E"_s;
    QTest::newRow("NEC circled one") << QByteArray("\x87\x40") << u"\u2460"_s;
    QTest::newRow("full-width minus") << QByteArray("\x81\x7C") << u"\uFF0D"_s;
    QTest::newRow("backslash stays a backslash") << QByteArray("\x5C") << u"\\"_s;
    QTest::newRow("kanji and kana") << QByteArray("\x93\xfa\x96\x7b\x83\x41") << u"日本ア"_s;
    QTest::newRow("half-width katakana") << QByteArray("\xb1") << u"\uFF71"_s;
    QTest::newRow("invalid trail byte") << QByteArray("A\x81\x20Z") << u"A\uFFFD Z"_s;
    QTest::newRow("lone lead byte at the end") << QByteArray("AB\x82") << u"AB\uFFFD"_s;
    // ICU's windows-31j exchanges these three control codes; code page 932 does not.
    QTest::newRow("SUB byte") << QByteArray("\x1a") << u"\u001A"_s;
    QTest::newRow("FS byte") << QByteArray("A\x1c") << u"A\u001C"_s;
    QTest::newRow("DEL byte before half-width katakana") << QByteArray("\x7f\xad") << u"\u007F\uFF6D"_s;
    QTest::newRow("lead byte before DEL") << QByteArray("\x81\x7f") << u"\uFFFD\u007F"_s;
    QTest::newRow("SUB byte beside an invalid trail byte") << QByteArray("\x1a\x81\x20") << u"\u001A\uFFFD "_s;
}

void DataReadersTest::decodesCodePage932()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Cp932::decode(bytes), text);
}

void DataReadersTest::encodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("kanji") << u"日本"_s << QByteArray("\x93\xfa\x96\x7b");
    QTest::newRow("control codes ICU exchanges") << u"\u001A\u001C\u007F"_s << QByteArray("\x1a\x1c\x7f");
    QTest::newRow("DEL between kanji") << u"日\u007F本"_s << QByteArray("\x93\xfa\x7f\x96\x7b");
}

void DataReadersTest::encodes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::encode(text), bytes);
    QCOMPARE(Cp932::decode(bytes), text);
}

void DataReadersTest::encodingRoundTrip()
{
    const QString text = u"ＮＩＳ諸国　～①－国旗の由来"_s;
    QCOMPARE(Cp932::decode(Cp932::encode(text)), text);
}

void DataReadersTest::agreesWithIcuOverEveryCode()
{
    if (!QStringDecoder("windows-31j").isValid())
        QSKIP("this Qt has no ICU");

    // Every single byte, and every pair of bytes that starts beyond ASCII; the
    // rest of a longer input is read as if it started there.
    QList<QByteArray> inputs;
    for (int first = 0; first < 0x100; ++first) {
        inputs.append(QByteArray(1, char(first)));
        for (int second = 0; first >= 0x80 && second < 0x100; ++second)
            inputs.append(QByteArray(1, char(first)) + char(second));
    }
    for (const QByteArray &bytes : std::as_const(inputs)) {
        const QString text = Cp932::decode(bytes);
        QStringDecoder icu("windows-31j", QStringConverter::Flag::Stateless);
        const QString icuText = icu.decode(bytes);
        const QString context = u"bytes "_s + QString::fromLatin1(bytes.toHex(' '));
        QVERIFY2(readsAsIcu(text, icuText, bytes), qPrintable(context));
        QVERIFY2(text.contains(QChar::ReplacementCharacter) == icu.hasError(), qPrintable(context));
    }

    // Every code point, in one text: the reader writes the characters that
    // ICU writes, with the same code where a character has several, the same
    // substitute FC FC for the others, and leaves out what ICU leaves out.
    QString all;
    for (char32_t c = 0; c < 0x110000; ++c) {
        if (QChar::requiresSurrogates(c))
            all.append(QChar(QChar::highSurrogate(c))).append(QChar(QChar::lowSurrogate(c)));
        else if (!QChar::isSurrogate(c))
            all.append(QChar(char16_t(c)));
    }
    const QByteArray bytes = Cp932::encode(all);
    if (bytes != icuEncode(all)) {
        for (char32_t c = 0; c < 0x110000; ++c) {
            const QString one = QString::fromUcs4(&c, 1);
            QVERIFY2(QChar::isSurrogate(c) || Cp932::encode(one) == icuEncode(one),
                     qPrintable(u"U+%1: %2, ICU %3"_s.arg(QString::number(uint(c), 16).toUpper().rightJustified(4, u'0'))
                                    .arg(QString::fromLatin1(Cp932::encode(one).toHex(' ')),
                                         QString::fromLatin1(icuEncode(one).toHex(' ')))));
        }
        QCOMPARE(bytes, icuEncode(all));
    }
}

void DataReadersTest::dataRootDropsOneTrailingSeparator_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("dataRoot");
    QTest::newRow("ordinary directory") << u"/opt/kunishirabe"_s << u"/opt/kunishirabe"_s;
    QTest::newRow("trailing separator") << u"/opt/kunishirabe/"_s << u"/opt/kunishirabe"_s;
    QTest::newRow("file-system root") << u"/"_s << QString();
    QTest::newRow("only one separator removed") << u"/opt//"_s << u"/opt/"_s;
}

void DataReadersTest::dataRootDropsOneTrailingSeparator()
{
    QFETCH(QString, directory);
    QFETCH(QString, dataRoot);
    QCOMPARE(DataRootRule::fromProgramDirectory(directory), dataRoot);
}

void DataReadersTest::dataPathHasOneSeparatorAtTheRoot()
{
    AppState state;
    state.DataRoot = DataRootRule::fromProgramDirectory(u"/"_s);
    const QStringList folders{u"概要"_s, u"外務省"_s, u"国旗"_s, u"音"_s, u"画像"_s};
    for (const QString &folder : folders) {
        const DataPath path(state.DataRoot, u"\\"_s + folder + u"\\x"_s);
        QCOMPARE(path.filePath(), u"/"_s + folder + u"/x"_s);
    }
    QCOMPARE(CountryListPath(state, asia()).filePath(), u"/概要/アジア/kuni.txt"_s);
}

void DataReadersTest::countryFilePath_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("regionId");
    QTest::addColumn<int>("country");
    QTest::addColumn<QString>("relative");
    const int overview = int(CountryFileKind::Overview);
    const int flag = int(CountryFileKind::FlagPicture);
    const int origin = int(CountryFileKind::FlagOrigin);
    QTest::newRow("overview, one digit") << overview << 1 << 7 << u"/概要/アジア/s7.txt"_s;
    QTest::newRow("overview, two digits") << overview << 4 << 53 << u"/概要/アフリカ/s53.txt"_s;
    QTest::newRow("flag, two digits") << flag << 1 << 10 << u"/国旗/アジア/h10.gif"_s;
    QTest::newRow("origin, full-width folder") << origin << 6 << 12 << u"/国旗/ＮＩＳ諸国/由来/y12.txt"_s;
    QTest::newRow("origin, one digit") << origin << 7 << 1 << u"/国旗/北アメリカ/由来/y1.txt"_s;
}

void DataReadersTest::countryFilePath()
{
    QFETCH(int, kind);
    QFETCH(int, regionId);
    QFETCH(int, country);
    QFETCH(QString, relative);
    AppState state;
    state.DataRoot = u"/srv/k"_s;
    const DataPath path = CountryFilePath(state, CountryFileKind(kind), RegionCatalogue::region(regionId), country);
    QCOMPARE(path.filePath(), u"/srv/k"_s + relative);
    QCOMPARE(path.displayName(), relative.mid(1));
}

void DataReadersTest::countryListReadsExactlyNRecords()
{
    TempDataRoot data;
    // Thirty records for a region of 25: the last five are never read.
    data.write(u"概要/アジア/kuni.txt"_s, countryList(30));
    AppState state;
    state.DataRoot = data.root();
    LoadCountryList(state, asia());
    for (int i = 1; i <= 25; ++i) {
        QCOMPARE(state.CountryNames[i], u"国%1"_s.arg(i));
        QCOMPARE(state.ListToCountry[31 - i], qint16(i));
        QCOMPARE(state.ListNames[31 - i], u"国%1"_s.arg(i));
    }
    QVERIFY(state.CountryNames[26].isEmpty());
    QCOMPARE(state.ListToCountry[1], qint16(0)); // position 1 belonged to record 30
}

void DataReadersTest::countryListFieldRules_data()
{
    QTest::addColumn<QByteArray>("firstRecord");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("position");
    QTest::newRow("plain") << QByteArray("A,12\r\n") << u"A"_s << 12;
    QTest::newRow("blanks before fields skipped") << QByteArray("   A,  12\r\n") << u"A"_s << 12;
    QTest::newRow("quoted name keeps its comma") << QByteArray("\"A, B\",3\r\n") << u"A, B"_s << 3;
    QTest::newRow("text after closing quote dropped") << QByteArray("\"A\"x,4\r\n") << u"A"_s << 4;
    QTest::newRow("fields on separate lines") << QByteArray("A\r\n5\r\n") << u"A"_s << 5;
    QTest::newRow("CR alone ends a line") << QByteArray("A,6\r") << u"A"_s << 6;
    QTest::newRow("LF alone ends a line") << QByteArray("A,7\n") << u"A"_s << 7;
    QTest::newRow("Japanese name") << Cp932::encode(u"ＮＩＳ～国,8\r\n"_s) << u"ＮＩＳ～国"_s << 8;
    QTest::newRow("saved as UTF-8") << u"ＮＩＳ～国,9\r\n"_s.toUtf8() << u"ＮＩＳ～国"_s << 9;
}

void DataReadersTest::countryListFieldRules()
{
    QFETCH(QByteArray, firstRecord);
    QFETCH(QString, name);
    QFETCH(int, position);
    TempDataRoot data;
    QByteArray rest;
    for (int i = 2; i <= nis().countryCount; ++i)
        rest += "R" + QByteArray::number(i) + "," + QByteArray::number(i == position ? 1 : i) + "\r\n";
    data.write(u"概要/ＮＩＳ諸国/kuni.txt"_s, firstRecord + rest);
    AppState state;
    state.DataRoot = data.root();
    LoadCountryList(state, nis());
    QCOMPARE(state.CountryNames[1], name);
    QCOMPARE(state.ListNames[position], name);
    QCOMPARE(state.ListToCountry[position], qint16(1));
    QCOMPARE(state.CountryNames[12], u"R12"_s);
}

void DataReadersTest::countryListFailures_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("why");
    QTest::newRow("fewer than N records") << countryList(11) << u"終わりました"_s;
    QTest::newRow("unquoted comma in a name") << QByteArray("A,B,1\r\n") + countryList(12) << u"整数ではありません"_s;
    QTest::newRow("position above 60") << QByteArray("A,61\r\n") + countryList(12) << u"範囲 0〜60 の外"_s;
    QTest::newRow("negative position") << QByteArray("A,-1\r\n") + countryList(12) << u"範囲 0〜60 の外"_s;
    QTest::newRow("fractional position") << QByteArray("A,1.5\r\n") + countryList(12) << u"整数ではありません"_s;
    QTest::newRow("empty file") << QByteArray() << u"終わりました"_s;
}

void DataReadersTest::countryListFailures()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, why);
    TempDataRoot data;
    data.write(u"概要/ＮＩＳ諸国/kuni.txt"_s, content);
    AppState state;
    state.DataRoot = data.root();
    try {
        LoadCountryList(state, nis());
        QFAIL("no data error");
    } catch (const DataError &error) {
        QCOMPARE(error.file(), u"概要/ＮＩＳ諸国/kuni.txt"_s);
        QVERIFY2(error.description().contains(why), qPrintable(error.description()));
        QVERIFY(error.message().contains(u"概要/ＮＩＳ諸国/kuni.txt"_s));
    }
}

void DataReadersTest::failureKeepsWhatWasStoredBefore()
{
    TempDataRoot data;
    data.write(u"概要/ＮＩＳ諸国/kuni.txt"_s, countryList(5));
    AppState state;
    state.DataRoot = data.root();
    state.CountryNames[9] = u"前の値"_s;
    QVERIFY_THROWS_EXCEPTION(DataError, LoadCountryList(state, nis()));
    QCOMPARE(state.CountryNames[5], u"国5"_s);
    QCOMPARE(state.CountryNames[9], u"前の値"_s);
}

void DataReadersTest::duplicateAndZeroListPositions()
{
    TempDataRoot data;
    QString text = u"甲,2\r\n乙,2\r\n丙,0\r\n"_s;
    for (int i = 4; i <= 12; ++i)
        text += u"国%1,%1\r\n"_s.arg(i);
    data.write(u"概要/ＮＩＳ諸国/kuni.txt"_s, Cp932::encode(text));
    AppState state;
    state.DataRoot = data.root();
    LoadCountryList(state, nis());
    QCOMPARE(state.ListNames[2], u"乙"_s);         // the later record wins the row
    QCOMPARE(state.ListToCountry[2], qint16(2));
    QCOMPARE(state.ListNames[0], u"丙"_s);         // position 0 lands in slot 0
    QCOMPARE(state.ListToCountry[0], qint16(3));
    QVERIFY(state.ListNames[1].isEmpty());          // no record names row 1
    QCOMPARE(state.ListToCountry[1], qint16(0));
    QCOMPARE(state.CountryNames[3], u"丙"_s);
}

void DataReadersTest::unnamedSlotsKeepEarlierContent()
{
    TempDataRoot data;
    data.write(u"概要/アジア/kuni.txt"_s, countryList(25));
    data.write(u"概要/ＮＩＳ諸国/kuni.txt"_s, countryList(12));
    AppState state;
    state.DataRoot = data.root();
    LoadCountryList(state, asia());
    LoadCountryList(state, nis());
    QCOMPARE(state.ListNames[1], u"国12"_s);
    QCOMPARE(state.ListNames[20], u"国6"_s);   // still the アジア name at position 20
    QCOMPARE(state.ListToCountry[20], qint16(6));
    QCOMPARE(state.CountryNames[13], u"国13"_s);
}

void DataReadersTest::countryNamesOnlyIgnoresListPositions()
{
    TempDataRoot data;
    QString text;
    for (int i = 1; i <= 12; ++i)
        text += u"国%1,not a number\r\n"_s.arg(i);
    data.write(u"概要/ＮＩＳ諸国/kuni.txt"_s, Cp932::encode(text));
    AppState state;
    state.DataRoot = data.root();
    LoadCountryNames(state, nis());
    QCOMPARE(state.CountryNames[12], u"国12"_s);
    QCOMPARE(state.ListToCountry[1], qint16(0));
}

void DataReadersTest::pageTableReadsLabelsAndAddresses()
{
    TempDataRoot data;
    QString text = u"ロシア,\"https://example.org/a,b\"\r\n"_s;
    for (int i = 2; i <= 12; ++i)
        text += u"国%1,https://example.org/%1\r\n"_s.arg(i);
    data.write(u"外務省/ＮＩＳ諸国/url.txt"_s, Cp932::encode(text));
    AppState state;
    state.DataRoot = data.root();
    LoadPageTable(state, nis());
    QCOMPARE(state.PageTable[1][1], u"ロシア"_s);
    QCOMPARE(state.PageTable[1][2], u"https://example.org/a,b"_s);
    QCOMPARE(state.PageTable[12][2], u"https://example.org/12"_s);
    QVERIFY(state.PageTable[13][2].isEmpty());
}

void DataReadersTest::pageTableWithTooFewRecordsFails()
{
    TempDataRoot data;
    data.write(u"外務省/ＮＩＳ諸国/url.txt"_s, "a,b\r\nc\r\n");
    AppState state;
    state.DataRoot = data.root();
    QVERIFY_THROWS_EXCEPTION(DataError, LoadPageTable(state, nis()));
}

void DataReadersTest::textLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("line end after last line adds no row") << QByteArray("a\r\nb\r\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("last line without line end") << QByteArray("a\r\nb") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("empty line between others") << QByteArray("a\r\n\r\nb\r\n") << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("CR alone") << QByteArray("a\rb\r") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("commas, quotes and blanks kept") << QByteArray(" \"a\", b \r\n") << QStringList{u" \"a\", b "_s};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{QString()};
    QTest::newRow("Japanese text") << Cp932::encode(u"首都：東京\r\n面積：約37.8万平方キロ\r\n"_s)
                                   << QStringList{u"首都：東京"_s, u"面積：約37.8万平方キロ"_s};
    // As today's editors save it.
    QTest::newRow("Japanese text saved as UTF-8") << u"首都：東京\r\n面積：約37.8万\r\n"_s.toUtf8()
                                                  << QStringList{u"首都：東京"_s, u"面積：約37.8万"_s};
    QTest::newRow("UTF-8 with a byte order mark") << ("\xEF\xBB\xBF"_ba + u"首都：東京\r\n"_s.toUtf8())
                                                  << QStringList{u"首都：東京"_s};
    QTest::newRow("UTF-8 that is not valid to its end is code page 932")
        << (u"東京"_s.toUtf8() + Cp932::encode(u"東京\r\n"_s)) << QStringList{u"譚ｱ莠ｬ東京"_s};
    // In code page 932 these bytes are 縺Ａ; as UTF-8 they are valid, so UTF-8
    // is how they are read.
    QTest::newRow("code page 932 that is also valid UTF-8") << "\xE3\x81\x82\x60"_ba << QStringList{u"あ`"_s};
}

void DataReadersTest::textLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    TempDataRoot data;
    data.write(u"概要/アジア/s10.txt"_s, bytes);
    AppState state;
    state.DataRoot = data.root();
    QCOMPARE(ReadTextLines(CountryFilePath(state, CountryFileKind::Overview, asia(), 10)), lines);
}

void DataReadersTest::missingTextFileNamesTheFile()
{
    TempDataRoot data;
    AppState state;
    state.DataRoot = data.root();
    try {
        ReadTextLines(CountryFilePath(state, CountryFileKind::FlagOrigin, nis(), 3));
        QFAIL("no data error");
    } catch (const DataError &error) {
        QCOMPARE(error.file(), u"国旗/ＮＩＳ諸国/由来/y3.txt"_s);
        QVERIFY(error.description().contains(u"見つかりません"_s));
    }
}

void DataReadersTest::boundedArraysReportIndexErrors_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("valid");
    QTest::newRow("0") << 0 << true;
    QTest::newRow("60") << 60 << true;
    QTest::newRow("61") << 61 << false;
    QTest::newRow("-1") << -1 << false;
}

void DataReadersTest::boundedArraysReportIndexErrors()
{
    QFETCH(int, index);
    QFETCH(bool, valid);
    AppState state;
    if (valid) {
        state.CountryNames[index] = u"x"_s;
        state.PageTable[index][2] = u"y"_s;
        QCOMPARE(state.CountryNames[index], u"x"_s);
    } else {
        QVERIFY_THROWS_EXCEPTION(DataError, state.CountryNames[index] = u"x"_s);
        QVERIFY_THROWS_EXCEPTION(DataError, state.ListToCountry[index]);
        QVERIFY_THROWS_EXCEPTION(DataError, state.PageTable[index][1]);
    }
    QVERIFY_THROWS_EXCEPTION(DataError, state.PageTable[1][3]);
    QVERIFY_THROWS_EXCEPTION(DataError, state.AccuracyRates[9]);
}

void DataReadersTest::regionCatalogue()
{
    const QList<int> counts{25, 17, 17, 53, 40, 12, 30, 12};
    const QStringList names{u"アジア"_s, u"西アジア"_s, u"オセアニア"_s, u"アフリカ"_s,
                            u"ヨーロッパ"_s, u"ＮＩＳ諸国"_s, u"北アメリカ"_s, u"南アメリカ"_s};
    QCOMPARE(RegionCatalogue::all().size(), std::size_t(8));
    for (const RegionInfo &region : RegionCatalogue::all()) {
        QCOMPARE(region.regionName(), names[region.id - 1]);
        QCOMPARE(int(region.countryCount), counts[region.id - 1]);
        QCOMPARE(region.drillScreenName(), names[region.id - 1] + u"ドリル"_s);
        QVERIFY(region.countryCount <= AppState::MaxCountries);
    }
    QVERIFY_THROWS_EXCEPTION(DataError, RegionCatalogue::region(0));
    QVERIFY_THROWS_EXCEPTION(DataError, RegionCatalogue::region(9));
}

QTEST_GUILESS_MAIN(DataReadersTest)
#include "tst_datareaders.moc"
