// The shipped data directory: every file of every entry is there, is strict
// code page 932 with CR LF line ends, agrees with the entry lists, every
// text line fits its list box on the atlas screen, and every population
// line shows its entry's figure of the sourced population table.

#include "AppState.h"
#include "AtlasProfile.h"
#include "CountryData.h"
#include "Fonts.h"
#include "RegionCatalogue.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString SourceDir = QStringLiteral(KUNISHIRABE_SOURCE_DIR);

const char *const Slugs[] = {"asia", "west-asia", "oceania", "africa",
                             "europe", "nis", "north-america", "south-america"};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Strict decoding: no invalid bytes and nothing that fails to map back.
bool strictCp932(const QByteArray &bytes, QString *text)
{
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    *text = decoder.decode(bytes);
    if (decoder.hasError() || text->contains(QChar(0x1a)))
        return false;
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    const QByteArray back = encoder.encode(*text);
    return !encoder.hasError() && back == bytes;
}

// CR LF after every line, no lone CR or LF.
bool crlfOnly(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))
            return false;
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return false;
    }
    return bytes.isEmpty() || bytes.endsWith("\r\n");
}

// A record file of one record per line: strict code page 932, CR LF, N lines.
void verifyRecordFile(const DataPath &path, int records)
{
    const QByteArray bytes = readAll(path.filePath());
    QString text;
    QVERIFY2(strictCp932(bytes, &text), qPrintable(path.displayName()));
    QVERIFY2(crlfOnly(bytes), qPrintable(path.displayName()));
    QCOMPARE(text.count(u"\r\n"_s), records);
}

QJsonArray entriesOf(int regionId)
{
    const QByteArray json = readAll(SourceDir + u"/tools/entries/"_s
                                    + QString::fromLatin1(Slugs[regionId - 1]) + u".json"_s);
    return QJsonDocument::fromJson(json).object().value(u"entries"_s).toArray();
}

QJsonObject populationTable()
{
    return QJsonDocument::fromJson(readAll(SourceDir + u"/tools/texts/population.json"_s)).object();
}

// A head count rounded to three significant digits, halves up.
qint64 threeSignificantDigits(qint64 persons)
{
    qint64 step = 1;
    while (persons / step >= 1000)
        step *= 10;
    return (persons + step / 2) / step * step;
}

// The head count and year of a population line: 人口：約14.4億人（2023年） -> 1440000000, 2023.
bool readPopulationLine(const QString &line, qint64 *persons, int *year)
{
    static const QRegularExpression form(u"^人口：約(\\d+)(?:\\.(\\d+))?(億|万)?人（(\\d{4})年）$"_s);
    const QRegularExpressionMatch match = form.match(line);
    if (!match.hasMatch())
        return false;
    const int unitDigits = match.captured(3) == u"億"_s ? 8 : match.captured(3) == u"万"_s ? 4 : 0;
    const QString fraction = match.captured(2);
    if (fraction.size() > unitDigits || fraction.endsWith(u'0'))
        return false;
    *persons = (match.captured(1) + fraction.leftJustified(unitDigits, u'0')).toLongLong();
    *year = match.captured(4).toInt();
    return true;
}

// The lines of a list box that do not fit its width.
QStringList overflowingLines(const QStringList &lines, QSize box)
{
    QListWidget list;
    list.setFont(Fonts::font(Fonts::PMincho, 11.25));
    list.resize(box);
    list.addItems(lines);
    list.show();
    QCoreApplication::processEvents();
    QStringList tooWide;
    const int room = list.viewport()->width() - 2 * list.spacing();
    const QFontMetrics metrics(list.font());
    for (const QString &line : lines) {
        if (metrics.horizontalAdvance(line) + 2 * list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) > room)
            tooWide << line;
    }
    if (list.horizontalScrollBar()->maximum() > 0 && tooWide.isEmpty())
        tooWide << u"(the list scrolls sideways)"_s;
    return tooWide;
}

} // namespace

class DataFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void regions_data();
    void countryListMatchesTheEntries();
    void countryListMatchesTheEntries_data() { regions_data(); }
    void pageTableHasHttpsAddresses();
    void pageTableHasHttpsAddresses_data() { regions_data(); }
    void textsAreStrictCp932AndFitTheirBoxes();
    void textsAreStrictCp932AndFitTheirBoxes_data() { regions_data(); }
    void populationLinesFollowTheSourcedTable();
    void populationLinesFollowTheSourcedTable_data() { regions_data(); }
    void flagsDecode();
    void flagsDecode_data() { regions_data(); }
    void menuFlagTexts();
    void soundsAndPicturesArePresent();

private:
    AppState m_state;
};

void DataFilesTest::initTestCase()
{
    Fonts::installSubstitutions();
    m_state.DataRoot = SourceDir + u"/data"_s;
}

void DataFilesTest::regions_data()
{
    QTest::addColumn<int>("regionId");
    for (const RegionInfo &region : RegionCatalogue::all())
        QTest::newRow(region.name) << int(region.id);
}

void DataFilesTest::countryListMatchesTheEntries()
{
    QFETCH(int, regionId);
    const RegionInfo &region = RegionCatalogue::region(regionId);
    verifyRecordFile(CountryListPath(m_state, region), region.countryCount);
    if (QTest::currentTestFailed())
        return;

    AppState state;
    state.DataRoot = m_state.DataRoot;
    LoadCountryList(state, region);
    const QJsonArray entries = entriesOf(regionId);
    QCOMPARE(entries.size(), qsizetype(region.countryCount));
    QList<int> positions;
    for (int i = 1; i <= region.countryCount; ++i) {
        QCOMPARE(state.CountryNames[i], entries[i - 1].toObject().value(u"name"_s).toString());
        for (int p = 1; p <= region.countryCount; ++p) {
            if (state.ListToCountry[p] == i)
                positions << p;
        }
    }
    // The list positions are a permutation of 1..N.
    std::sort(positions.begin(), positions.end());
    QCOMPARE(positions.size(), qsizetype(region.countryCount));
    for (int p = 1; p <= region.countryCount; ++p)
        QCOMPARE(positions[p - 1], p);
}

void DataFilesTest::pageTableHasHttpsAddresses()
{
    QFETCH(int, regionId);
    const RegionInfo &region = RegionCatalogue::region(regionId);
    verifyRecordFile(PageTablePath(m_state, region), region.countryCount);
    if (QTest::currentTestFailed())
        return;

    AppState state;
    state.DataRoot = m_state.DataRoot;
    LoadPageTable(state, region);
    const QJsonArray entries = entriesOf(regionId);
    for (int i = 1; i <= region.countryCount; ++i) {
        QVERIFY2(!state.PageTable[i][1].isEmpty(), qPrintable(u"label of %1"_s.arg(i)));
        QVERIFY2(state.PageTable[i][2].startsWith(u"https://"_s), qPrintable(state.PageTable[i][2]));
        QCOMPARE(state.PageTable[i][2], entries[i - 1].toObject().value(u"page"_s).toString());
    }
}

void DataFilesTest::textsAreStrictCp932AndFitTheirBoxes()
{
    QFETCH(int, regionId);
    const RegionInfo &region = RegionCatalogue::region(regionId);
    const AtlasProfile &atlas = AtlasProfiles::forRegion(regionId);
    const struct {
        CountryFileKind kind;
        QSize box;
        int minLines;
        int maxLines;
    } texts[] = {
        {CountryFileKind::Overview, atlas.overviewList, 8, 14},
        {CountryFileKind::FlagOrigin, atlas.originList, 3, 8},
    };
    for (int n = 1; n <= region.countryCount; ++n) {
        for (const auto &kind : texts) {
            const DataPath path = CountryFilePath(m_state, kind.kind, region, n);
            const QString file = path.displayName();
            const QByteArray bytes = readAll(path.filePath());
            QVERIFY2(!bytes.isEmpty(), qPrintable(file + u" missing or empty"_s));
            QString text;
            QVERIFY2(strictCp932(bytes, &text), qPrintable(file + u": not strict code page 932"_s));
            QVERIFY2(crlfOnly(bytes), qPrintable(file + u": line ends other than CR LF"_s));
            const QStringList lines = ReadTextLines(path);
            QVERIFY2(lines.size() >= kind.minLines && lines.size() <= kind.maxLines,
                     qPrintable(u"%1: %2 lines"_s.arg(file).arg(lines.size())));
            const QStringList tooWide = overflowingLines(lines, kind.box);
            QVERIFY2(tooWide.isEmpty(), qPrintable(file + u" too wide: "_s + tooWide.join(u" / "_s)));
        }
    }
}

void DataFilesTest::populationLinesFollowTheSourcedTable()
{
    QFETCH(int, regionId);
    const RegionInfo &region = RegionCatalogue::region(regionId);
    const QJsonObject table = populationTable();
    const QJsonObject sources = table.value(u"sources"_s).toObject();
    const QJsonObject rows = table.value(u"entries"_s).toObject();
    const QJsonArray entries = entriesOf(regionId);
    for (int n = 1; n <= region.countryCount; ++n) {
        const QJsonObject entry = entries[n - 1].toObject();
        const QString name = entry.value(u"name"_s).toString();
        const QJsonObject row = rows.value(entry.value(u"iso2"_s).toString()).toObject();
        QVERIFY2(row.value(u"persons"_s).toInteger() > 0, qPrintable(name + u": no population row"_s));
        QVERIFY2(!sources.value(row.value(u"source"_s).toString()).toObject().value(u"title"_s).toString().isEmpty(),
                 qPrintable(name + u": population source not named"_s));

        const DataPath path = CountryFilePath(m_state, CountryFileKind::Overview, region, n);
        const QStringList lines = ReadTextLines(path).filter(QRegularExpression(u"^人口："_s));
        QVERIFY2(lines.size() == 1, qPrintable(path.displayName() + u": want one population line"_s));
        qint64 shown = 0;
        int year = 0;
        QVERIFY2(readPopulationLine(lines.first(), &shown, &year), qPrintable(lines.first()));
        const qint64 persons = row.value(u"persons"_s).toInteger();
        QVERIFY2(shown == threeSignificantDigits(persons) && year == row.value(u"year"_s).toInt(),
                 qPrintable(u"%1: %2, the table has %3 (%4)"_s.arg(path.displayName(), lines.first())
                                .arg(persons).arg(row.value(u"year"_s).toInt())));
    }
}

void DataFilesTest::flagsDecode()
{
    QFETCH(int, regionId);
    const RegionInfo &region = RegionCatalogue::region(regionId);
    for (int n = 1; n <= region.countryCount; ++n) {
        const DataPath path = CountryFilePath(m_state, CountryFileKind::FlagPicture, region, n);
        const QImage flag(path.filePath(), "GIF");
        QVERIFY2(!flag.isNull(), qPrintable(path.displayName()));
        // The flag box is 114 x 77 inside a 257 x 144 frame: a flag must not overhang the frame.
        QVERIFY2(flag.width() <= 160 && flag.height() <= 100, qPrintable(path.displayName()));
    }
}

void DataFilesTest::menuFlagTexts()
{
    for (int k = 1; k <= 3; ++k) {
        const DataPath path(m_state.DataRoot, u"\\国旗\\h%1.txt"_s.arg(k));
        const QByteArray bytes = readAll(path.filePath());
        QString text;
        QVERIFY2(strictCp932(bytes, &text), qPrintable(path.displayName()));
        QVERIFY2(crlfOnly(bytes), qPrintable(path.displayName()));
        const QStringList lines = ReadTextLines(path);
        QVERIFY(lines.size() >= 3);
        QListWidget list;
        list.setFont(Fonts::font(Fonts::Mincho, 11.25));
        list.resize(574, 154);
        list.addItems(lines);
        list.show();
        QCoreApplication::processEvents();
        QCOMPARE(list.horizontalScrollBar()->maximum(), 0);
        QCOMPARE(list.verticalScrollBar()->maximum(), 0);
    }
}

void DataFilesTest::soundsAndPicturesArePresent()
{
    const QStringList files{u"\\音\\o.wav"_s, u"\\音\\x.wav"_s, u"\\音\\gokaku.wav"_s, u"\\音\\dame.wav"_s,
                            u"\\画像\\maru.gif"_s, u"\\画像\\batu.gif"_s, u"\\画像\\gold.gif"_s,
                            u"\\画像\\silver.gif"_s, u"\\画像\\copper.gif"_s};
    for (const QString &relative : files) {
        const DataPath path(m_state.DataRoot, relative);
        QVERIFY2(QFile::exists(path.filePath()), qPrintable(path.displayName()));
        if (relative.endsWith(u".gif"_s))
            QVERIFY2(!QImage(path.filePath(), "GIF").isNull(), qPrintable(path.displayName()));
    }
}

QTEST_MAIN(DataFilesTest)
#include "tst_datafiles.moc"
