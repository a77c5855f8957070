// The word pictures are kept once drawn: a picture that differs from a kept
// one in any of what it shows, its size, the device's pixel ratio or its place
// within a device pixel is drawn for itself, not copied from the kept one.

#include "Fonts.h"
#include "WordArt.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QTest>

namespace {

enum class Kind { Face, Plate, Title };

struct Picture {
    Kind kind = Kind::Face;
    QString word = QStringLiteral("アジア");
    QRect bounds{0, 0, 109, 45};
    QColor colour{255, 255, 192};
    QColor second{0, 0, 128};
    WordArt::FaceState state = WordArt::FaceState::Normal;
    bool focused = false;
    qreal scale = 1;
};

// The picture on a device of its scale, over an opaque ground.
QImage painted(const Picture &picture)
{
    const QSize size(140, 60);
    QImage image(size * picture.scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(picture.scale);
    image.fill(QColor(0, 255, 255));
    QPainter painter(&image);
    switch (picture.kind) {
    case Kind::Face:
        WordArt::paintButtonFace(painter, picture.bounds, picture.word, picture.colour, picture.state,
                                 picture.focused);
        break;
    case Kind::Plate:
        WordArt::paintWordPlate(painter, picture.bounds, picture.word, picture.colour, picture.second);
        break;
    case Kind::Title:
        WordArt::paintTitle(painter, picture.bounds, picture.word, picture.colour, picture.second);
        break;
    }
    return image;
}

} // namespace

Q_DECLARE_METATYPE(Picture)

class WordArtTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Fonts::installSubstitutions(); }
    void keptPictureIsNotTakenForAnother_data();
    void keptPictureIsNotTakenForAnother();
};

void WordArtTest::keptPictureIsNotTakenForAnother_data()
{
    QTest::addColumn<Picture>("kept");
    QTest::addColumn<Picture>("other");

    const Picture face;
    Picture other = face;
    const auto row = [&](const char *name) {
        QTest::newRow(name) << face << other;
        other = face;
    };
    other.word = QStringLiteral("西アジア");
    row("face, word");
    other.colour = QColor(255, 160, 160);
    row("face, colour");
    other.state = WordArt::FaceState::Hovered;
    row("face, hovered");
    other.state = WordArt::FaceState::Pressed;
    row("face, pressed");
    other.focused = true;
    row("face, focus ring");
    other.bounds.setWidth(130);
    row("face, size");
    other.scale = 2;
    row("face, twice the density");
    other.scale = 1.5;
    row("face, one and a half");

    Picture plate = face;
    plate.kind = Kind::Plate;
    plate.bounds = {1, 2, 120, 53};
    plate.scale = 1.5;
    other = plate;
    other.second = QColor(0, 96, 0);
    QTest::newRow("plate, ink") << plate << other;
    other = plate;
    other.colour = QColor(240, 200, 80);
    QTest::newRow("plate, colour") << plate << other;
    other = plate;
    other.bounds.translate(1, 0);
    QTest::newRow("plate, half a device pixel on") << plate << other;
    other = plate;
    other.kind = Kind::Title;
    QTest::newRow("title, same word and colours") << plate << other;
    other.second = Qt::white;
    Picture title = other;
    title.second = QColor(60, 60, 60);
    QTest::newRow("title, outline") << title << other;
}

void WordArtTest::keptPictureIsNotTakenForAnother()
{
    QFETCH(Picture, kept);
    QFETCH(Picture, other);
    QPixmapCache::clear();
    const QImage drawnAlone = painted(other);
    QPixmapCache::clear();
    const QImage first = painted(kept);
    QVERIFY(first != drawnAlone);
    QCOMPARE(painted(other), drawnAlone);
    // The kept picture itself is shown again as it was.
    QCOMPARE(painted(kept), first);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    WordArtTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wordart.moc"
