#include "GifWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

namespace {

QImage decodeGif(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "gif");
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

QString dataPath(const char *relative)
{
    return QStringLiteral(KUNISHIRABE_SOURCE_DIR "/data/") + QString::fromUtf8(relative);
}

QSet<QRgb> coloursOf(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) | 0xff000000u);
    return colours;
}

// A picture of width x height whose colours cycle through the given list.
QImage tiled(int width, int height, const QList<QRgb> &colours)
{
    QImage image(width, height, QImage::Format_RGB32);
    int i = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colours[i++ % colours.size()]);
    return image;
}

struct WavInfo
{
    quint16 format = 0;
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 bits = 0;
    QList<qint16> samples;
};

bool parseWav(const QByteArray &bytes, WavInfo *info, QString *why)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        *why = QStringLiteral("no RIFF/WAVE header");
        return false;
    }
    if (qFromLittleEndian<quint32>(bytes.constData() + 4) != quint32(bytes.size() - 8)) {
        *why = QStringLiteral("RIFF size does not match the file");
        return false;
    }
    bool haveFormat = false;
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        const qsizetype body = pos + 8;
        if (body + qsizetype(size) > bytes.size()) {
            *why = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return false;
        }
        if (id == "fmt ") {
            info->format = qFromLittleEndian<quint16>(bytes.constData() + body);
            info->channels = qFromLittleEndian<quint16>(bytes.constData() + body + 2);
            info->rate = qFromLittleEndian<quint32>(bytes.constData() + body + 4);
            info->bits = qFromLittleEndian<quint16>(bytes.constData() + body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                *why = QStringLiteral("data before fmt");
                return false;
            }
            for (quint32 i = 0; i + 1 < size; i += 2)
                info->samples.append(qFromLittleEndian<qint16>(bytes.constData() + body + i));
            return true;
        }
        pos = body + size + (size & 1);
    }
    *why = QStringLiteral("no data chunk");
    return false;
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT

private slots:
    void fewColoursRoundTripExactly_data();
    void fewColoursRoundTripExactly();
    void richPictureGetsExactColoursFromThePicture();
    void transparentPartsTakeTheBackground();
    void writeCreatesFoldersWithJapaneseNames();
    void shippedSounds_data();
    void shippedSounds();
    void shippedPictures_data();
    void shippedPictures();
    void screenPictures_data();
    void screenPictures();
    void countryFlags_data();
    void countryFlags();
};

void TestArtwork::fewColoursRoundTripExactly_data()
{
    QTest::addColumn<QImage>("picture");

    QTest::newRow("extremes") << tiled(7, 5, {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(255, 0, 0),
                                             qRgb(1, 2, 3), qRgb(254, 255, 253), qRgb(255, 255, 192)});
    QTest::newRow("one colour") << tiled(3, 2, {qRgb(255, 255, 255)});
    QTest::newRow("one pixel") << tiled(1, 1, {qRgb(192, 255, 192)});

    QList<QRgb> full;
    for (int i = 0; i < 256; ++i)
        full.append(qRgb(i, 255 - i, (i * 7) % 256));
    QTest::newRow("exactly 256 colours") << tiled(64, 8, full);

    QList<QRgb> nearlySame;
    for (int i = 0; i < 9; ++i)
        nearlySame.append(qRgb(248 + (i % 8), 248 + i / 2 % 8, 255));
    QTest::newRow("neighbouring colours above 5 bits") << tiled(11, 13, nearlySame);
}

void TestArtwork::fewColoursRoundTripExactly()
{
    QFETCH(QImage, picture);
    GifWriter writer;
    const QByteArray bytes = writer.encode(picture);
    QVERIFY2(!bytes.isEmpty(), qPrintable(writer.errorString()));
    const QImage back = decodeGif(bytes);
    QCOMPARE(back.size(), picture.size());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            QCOMPARE(QColor(back.pixel(x, y)), QColor(picture.pixel(x, y)));
}

void TestArtwork::richPictureGetsExactColoursFromThePicture()
{
    // A smooth gradient of thousands of colours, with a large flat patch of
    // one colour and a white band.
    QImage picture(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 255 / 159, y * 255 / 119, (x + y) * 255 / 278));
    const QRgb dominant = qRgb(201, 99, 47);
    for (int y = 30; y < 90; ++y)
        for (int x = 40; x < 120; ++x)
            picture.setPixel(x, y, dominant);
    for (int x = 0; x < picture.width(); ++x)
        picture.setPixel(x, 0, qRgb(255, 255, 255));
    const QSet<QRgb> original = coloursOf(picture);
    QVERIFY(original.size() > 256);

    GifWriter writer;
    const QList<QRgb> palette = GifWriter::buildPalette(picture);
    QCOMPARE(palette.size(), 256);
    QCOMPARE(palette.first(), dominant);

    const QImage back = decodeGif(writer.encode(picture));
    QCOMPARE(back.size(), picture.size());
    const QSet<QRgb> decoded = coloursOf(back);
    QVERIFY(decoded.size() <= 256);
    for (QRgb c : decoded)
        QVERIFY2(original.contains(c), qPrintable(QColor(c).name() + QStringLiteral(" is not a colour of the picture")));
    QCOMPARE(QColor(back.pixel(80, 60)), QColor(dominant));
    QCOMPARE(QColor(back.pixel(5, 0)), QColor(255, 255, 255));

    double error = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb a = picture.pixel(x, y);
            const QRgb b = back.pixel(x, y);
            error += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    error /= 3.0 * picture.width() * picture.height();
    QVERIFY2(error < 4.0, qPrintable(QStringLiteral("mean channel error %1").arg(error)));
}

void TestArtwork::transparentPartsTakeTheBackground()
{
    QImage picture(4, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(1, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(2, 0, qRgba(0, 0, 255, 255));
    picture.setPixel(3, 0, qRgba(255, 255, 255, 0));
    GifWriter writer(QColor(192, 255, 192));
    const QImage back = decodeGif(writer.encode(picture));
    QCOMPARE(back.size(), picture.size());
    QCOMPARE(QColor(back.pixel(0, 0)), QColor(192, 255, 192));
    QCOMPARE(QColor(back.pixel(1, 0)), QColor(255, 0, 0));
    QCOMPARE(QColor(back.pixel(2, 0)), QColor(0, 0, 255));
    QCOMPARE(QColor(back.pixel(3, 0)), QColor(192, 255, 192));
}

void TestArtwork::writeCreatesFoldersWithJapaneseNames()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("国旗/ＮＩＳ諸国/h1.gif"));
    GifWriter writer;
    const QImage picture = tiled(5, 4, {qRgb(10, 20, 30), qRgb(255, 255, 255)});
    QVERIFY2(writer.write(picture, path), qPrintable(writer.errorString()));
    const QImage back = QImage(path).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(back.size(), picture.size());
    QCOMPARE(QColor(back.pixel(0, 0)), QColor(10, 20, 30));
}

void TestArtwork::shippedSounds_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("correct") << dataPath("音/o.wav");
    QTest::newRow("wrong") << dataPath("音/x.wav");
    QTest::newRow("pass") << dataPath("音/gokaku.wav");
    QTest::newRow("fail") << dataPath("音/dame.wav");
}

void TestArtwork::shippedSounds()
{
    QFETCH(QString, file);
    QFile f(file);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(file));
    WavInfo wav;
    QString why;
    QVERIFY2(parseWav(f.readAll(), &wav, &why), qPrintable(why));
    QCOMPARE(wav.format, quint16(1));
    QCOMPARE(wav.channels, quint16(1));
    QCOMPARE(wav.bits, quint16(16));
    QVERIFY(wav.rate == 22050 || wav.rate == 44100);
    const double seconds = double(wav.samples.size()) / wav.rate;
    QVERIFY2(seconds >= 0.2 && seconds <= 3.0, qPrintable(QString::number(seconds)));

    int peak = 0;
    for (qint16 s : wav.samples)
        peak = std::max(peak, std::abs(int(s)));
    QVERIFY2(peak <= int(0.9 * 32767), qPrintable(QStringLiteral("peak %1").arg(peak)));
    QVERIFY2(peak >= int(0.3 * 32767), qPrintable(QStringLiteral("too quiet: peak %1").arg(peak)));
    // Fades: the ends start and stop near silence.
    const int edge = int(0.02 * 32767);
    QVERIFY(std::abs(int(wav.samples.first())) < edge);
    QVERIFY(std::abs(int(wav.samples.last())) < edge);
}

void TestArtwork::shippedPictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("box");
    const QSize feedbackBox(158, 127);
    QTest::newRow("circle") << dataPath("画像/maru.gif") << feedbackBox;
    QTest::newRow("cross") << dataPath("画像/batu.gif") << feedbackBox;
    QTest::newRow("gold") << dataPath("画像/gold.gif") << feedbackBox;
    QTest::newRow("silver") << dataPath("画像/silver.gif") << feedbackBox;
    QTest::newRow("copper") << dataPath("画像/copper.gif") << feedbackBox;
}

void TestArtwork::shippedPictures()
{
    QFETCH(QString, file);
    QFETCH(QSize, box);
    QImageReader reader(file);
    QCOMPARE(reader.format(), QByteArray("gif"));
    const QImage picture = reader.read().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!picture.isNull(), qPrintable(reader.errorString()));
    QVERIFY(picture.width() <= box.width() && picture.height() <= box.height());
    QVERIFY(picture.width() >= box.width() / 2 && picture.height() >= box.height() / 2);

    // Opaque, on the judgement box colour, and not empty.
    const QColor background(255, 255, 192);
    QCOMPARE(QColor(picture.pixel(0, picture.height() - 1)), background);
    int drawn = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            QCOMPARE(qAlpha(picture.pixel(x, y)), 255);
            if (QColor(picture.pixel(x, y)) != background)
                ++drawn;
        }
    QVERIFY2(drawn > picture.width() * picture.height() / 8, qPrintable(QString::number(drawn)));
}

void TestArtwork::screenPictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("corner"); // invalid: the picture is a flag and has no background
    const QString dir = QStringLiteral(KUNISHIRABE_SOURCE_DIR "/assets/pictures/");
    QTest::newRow("dove") << dir + QStringLiteral("menu-dove.png") << QSize(281, 158) << QColor(0, 255, 255);
    QTest::newRow("red cross") << dir + QStringLiteral("flag-red-cross.png") << QSize(150, 146) << QColor();
    QTest::newRow("united nations") << dir + QStringLiteral("flag-united-nations.png") << QSize(192, 127) << QColor();
    QTest::newRow("olympic") << dir + QStringLiteral("flag-olympic.png") << QSize(197, 131) << QColor();
    QTest::newRow("globe") << dir + QStringLiteral("globe.png") << QSize(100, 100) << QColor(255, 192, 192);
}

void TestArtwork::screenPictures()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(QColor, corner);
    const QImage picture(file);
    QVERIFY2(!picture.isNull(), qPrintable(file));
    QCOMPARE(picture.size(), size);
    QVERIFY(!picture.hasAlphaChannel() || picture.convertToFormat(QImage::Format_ARGB32).pixel(0, 0) >> 24 == 255);
    if (corner.isValid()) {
        QCOMPARE(QColor(picture.pixel(0, 0)), corner);
        QCOMPARE(QColor(picture.pixel(size.width() - 1, 0)), corner);
    }
    QVERIFY(coloursOf(picture).size() > 8); // drawn, not a flat fill
}

void TestArtwork::countryFlags_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<int>("entries");
    QTest::newRow("1") << QStringLiteral("アジア") << 25;
    QTest::newRow("2") << QStringLiteral("西アジア") << 17;
    QTest::newRow("3") << QStringLiteral("オセアニア") << 17;
    QTest::newRow("4") << QStringLiteral("アフリカ") << 53;
    QTest::newRow("5") << QStringLiteral("ヨーロッパ") << 40;
    QTest::newRow("6") << QStringLiteral("ＮＩＳ諸国") << 12;
    QTest::newRow("7") << QStringLiteral("北アメリカ") << 30;
    QTest::newRow("8") << QStringLiteral("南アメリカ") << 12;
}

void TestArtwork::countryFlags()
{
    QFETCH(QString, region);
    QFETCH(int, entries);
    const QString dir = QStringLiteral(KUNISHIRABE_SOURCE_DIR "/data/国旗/") + region + QLatin1Char('/');
    for (int n = 1; n <= entries; ++n) {
        const QString file = dir + QStringLiteral("h%1.gif").arg(n);
        QImageReader reader(file);
        QVERIFY2(reader.format() == "gif", qPrintable(file));
        const QImage flag = reader.read();
        QVERIFY2(!flag.isNull(), qPrintable(file + QStringLiteral(": ") + reader.errorString()));
        // 4:3 flags 77 pixels high inside a one-pixel frame, all the same size.
        QCOMPARE(flag.size(), QSize(105, 79));
        QCOMPARE(qAlpha(flag.convertToFormat(QImage::Format_ARGB32).pixel(52, 39)), 255);
    }
    QVERIFY2(!QFile::exists(dir + QStringLiteral("h%1.gif").arg(entries + 1)), "flag beyond the last entry");
}

QTEST_GUILESS_MAIN(TestArtwork)
#include "tst_artwork.moc"
