// The web build's fonts (assets/fonts/web, made by tools/fonts/subset-web-fonts.py)
// hold every character that the data files or the program's sources can put
// on the screen, read as the program reads them; and they carry their own
// family names, none of the IPA fonts' names, as the IPA Font License asks of
// a subset.

#include "DataText.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMap>
#include <QRawFont>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

const QString SourceDir = QStringLiteral(KUNISHIRABE_SOURCE_DIR);
const QString FontDir = SourceDir + u"/assets/fonts/web/"_s;

// Media in data/; every other file there is text (as in the generator).
const QStringList BinarySuffixes = {u"gif"_s, u"wav"_s, u"png"_s, u"jpg"_s,
                                    u"jpeg"_s, u"bmp"_s, u"mp3"_s, u"ogg"_s};

// Each character with the first file that holds it.
using Characters = QMap<char32_t, QString>;

void addShown(Characters *characters, const QString &text, const QString &file, char32_t from)
{
    for (const char32_t c : text.toUcs4()) {
        if (c >= from && QChar::category(c) != QChar::Other_Control && !characters->contains(c))
            characters->insert(c, file);
    }
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesUnder(const QString &folder, const QStringList &nameFilters)
{
    QStringList files;
    QDirIterator it(SourceDir + u'/' + folder, nameFilters, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

Characters dataCharacters()
{
    Characters characters;
    for (const QString &path : filesUnder(u"data"_s, {})) {
        if (!BinarySuffixes.contains(QFileInfo(path).suffix().toLower()))
            addShown(&characters, DataText::decode(readAll(path)), path, 0);
    }
    return characters;
}

// The sources' texts: every non-ASCII character, and printable ASCII.
// Generated tables (the code page 932 table holds every character) are not shown.
Characters sourceCharacters()
{
    Characters characters;
    for (const QString &path : filesUnder(u"src"_s, {u"*.cpp"_s, u"*.h"_s})) {
        if (path.contains(u"/generated/"_s))
            continue;
        addShown(&characters, QString::fromUtf8(readAll(path)), path, 0x80);
    }
    for (char32_t c = 0x20; c < 0x7f; ++c)
        characters.insert(c, u"printable ASCII"_s);
    return characters;
}

// The strings of an OpenType name table, by name id.
QMultiMap<int, QString> nameRecords(const QByteArray &table)
{
    QMultiMap<int, QString> names;
    const auto *bytes = reinterpret_cast<const uchar *>(table.constData());
    if (table.size() < 6)
        return names;
    const int count = qFromBigEndian<quint16>(bytes + 2);
    const int storage = qFromBigEndian<quint16>(bytes + 4);
    for (int i = 0; i < count && 6 + 12 * (i + 1) <= table.size(); ++i) {
        const uchar *record = bytes + 6 + 12 * i;
        const int platform = qFromBigEndian<quint16>(record);
        const int id = qFromBigEndian<quint16>(record + 6);
        const int length = qFromBigEndian<quint16>(record + 8);
        const int offset = storage + qFromBigEndian<quint16>(record + 10);
        if (offset + length > table.size())
            continue;
        const QByteArray raw = table.mid(offset, length);
        QString text;
        if (platform == 1) {
            text = QString::fromLatin1(raw);
        } else {
            for (int j = 0; j + 1 < raw.size(); j += 2)
                text += QChar(qFromBigEndian<quint16>(raw.constData() + j));
        }
        names.insert(id, text);
    }
    return names;
}

} // namespace

class TestWebFonts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void showsEveryCharacter_data();
    void showsEveryCharacter();
    void ownNames_data();
    void ownNames();

private:
    Characters m_data;
    Characters m_sources;
};

void TestWebFonts::initTestCase()
{
    m_data = dataCharacters();
    m_sources = sourceCharacters();
    // Guards against reading nothing: both hold kanji.
    QVERIFY(m_data.contains(U'国'));
    QVERIFY(m_sources.contains(U'終'));
}

void TestWebFonts::showsEveryCharacter_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("fromData");
    for (const char *file : {"kunishirabe-mincho.ttf", "kunishirabe-pmincho.ttf", "kunishirabe-gothic.ttf"}) {
        QTest::addRow("%s data files", file) << QString::fromLatin1(file) << true;
        QTest::addRow("%s sources", file) << QString::fromLatin1(file) << false;
    }
}

void TestWebFonts::showsEveryCharacter()
{
    QFETCH(QString, file);
    QFETCH(bool, fromData);
    const QRawFont font(FontDir + file, 16);
    QVERIFY2(font.isValid(), qPrintable(FontDir + file));
    const Characters &characters = fromData ? m_data : m_sources;
    QStringList missing;
    for (auto it = characters.cbegin(); it != characters.cend(); ++it) {
        if (!font.supportsCharacter(uint(it.key())))
            missing << u"U+%1 %2 (%3)"_s.arg(QString::number(uint(it.key()), 16).toUpper(),
                                             QString::fromUcs4(&it.key(), 1), it.value());
    }
    QVERIFY2(missing.isEmpty(), qPrintable(u"run tools/fonts/subset-web-fonts.py; missing: "_s
                                           + missing.join(u", "_s)));
}

void TestWebFonts::ownNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("family");
    QTest::newRow("mincho") << u"kunishirabe-mincho.ttf"_s << u"Kunishirabe Mincho"_s;
    QTest::newRow("pmincho") << u"kunishirabe-pmincho.ttf"_s << u"Kunishirabe PMincho"_s;
    QTest::newRow("gothic") << u"kunishirabe-gothic.ttf"_s << u"Kunishirabe Gothic"_s;
}

void TestWebFonts::ownNames()
{
    QFETCH(QString, file);
    QFETCH(QString, family);
    // The family that the browser build maps the program's font names to.
    const int id = QFontDatabase::addApplicationFont(FontDir + file);
    QVERIFY2(id >= 0, qPrintable(FontDir + file));
    QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList{family});

    // Only the copyright notice (0) and the licence records (13, 14) may
    // name IPA; the Japanese names (IPA明朝 and so on) are gone too.
    const QMultiMap<int, QString> names = nameRecords(QRawFont(FontDir + file, 16).fontTable("name"));
    QVERIFY(names.contains(1));
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        if (it.key() != 0 && it.key() != 13 && it.key() != 14)
            QVERIFY2(!it.value().contains(u"IPA"_s), qPrintable(u"name %1: %2"_s.arg(it.key()).arg(it.value())));
    }
    QVERIFY2(QFileInfo(FontDir + u"IPA_Font_License_Agreement_v1.0.txt"_s).size() > 0,
             "the licence text goes beside the fonts");
}

QTEST_MAIN(TestWebFonts)
#include "tst_webfonts.moc"
