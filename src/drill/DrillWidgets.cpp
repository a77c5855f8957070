#include "DrillWidgets.h"

#include "AccessibleRole.h"
#include "CaptionFrame.h"
#include "DataError.h"
#include "DrillProfile.h"
#include "FatalErrors.h"
#include "Fonts.h"
#include "MarkerLayout.h"
#include "Palette.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionCatalogue.h"
#include "RegionMapView.h"
#include "TouchConfirm.h"
#include "WordArt.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace {

// Where a marker lies on the map, in thirds across and down: what a pupil who
// cannot see the map goes by.
QString placeOnMap(QPoint centre, QSize map)
{
    static const QString places[3][3] = {
        {QStringLiteral("左上"), QStringLiteral("上"), QStringLiteral("右上")},
        {QStringLiteral("左"), QStringLiteral("中央"), QStringLiteral("右")},
        {QStringLiteral("左下"), QStringLiteral("下"), QStringLiteral("右下")},
    };
    const auto third = [](int at, int length) { return std::clamp(at * 3 / std::max(length, 1), 0, 2); };
    return places[third(centre.y(), map.height())][third(centre.x(), map.width())];
}

} // namespace

namespace DrillWidgets {

QLabel *label(QWidget *parent, const QString &text, const QRect &geometry, const QFont &font, QColor ink,
              QColor ground, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setMargin(0);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, ink);
    colours.setColor(QPalette::Window, ground);
    label->setPalette(colours);
    label->setAutoFillBackground(true);
    return label;
}

TitleRow titleRow(QWidget *parent, const DrillProfile &profile, const QString &word, std::function<void()> restart,
                  std::function<bool()> restartLoses, std::function<void(const QString &screenName)> leaveTo,
                  const QString &sideWord,
                  const QString &sideScreen)
{
    TitleRow row{};
    row.plate = new PictureBox(parent);
    row.plate->setObjectName(QStringLiteral("Image3"));
    row.plate->setGeometry(47, 10, 184, 53);
    row.plate->setAccessibleName(word);
    row.plate->setDrawing([word](QPainter &painter, QRect bounds) {
        WordArt::paintWordPlate(painter, bounds, word, Palette::GoldPlate, PlateInk);
    });

    row.restart = new PictureButton(QStringLiteral("再スタート"), Palette::RestartFace, parent);
    row.restart->setObjectName(QStringLiteral("Command3"));
    row.restart->setGeometry(46, 5, 189, 59);
    row.restart->hide();
    row.atlas = new PictureButton(sideWord.isEmpty() ? QStringLiteral("国しらべ") : sideWord, Palette::RegionFace, parent);
    row.atlas->setObjectName(QStringLiteral("Command1"));
    row.atlas->setGeometry(profile.atlasButtonRect());
    row.menu = new PictureButton(QStringLiteral("メニュー"), Palette::MenuFace, parent);
    row.menu->setObjectName(QStringLiteral("Command2"));
    row.menu->setGeometry(profile.menuButtonRect());

    const QFont countFont = Fonts::font(Fonts::Mincho, 26.25, true);
    row.remaining = new CaptionFrame(QString(), Palette::Periwinkle, Palette::Red, parent);
    row.remaining->setObjectName(QStringLiteral("Frame3"));
    row.remaining->setGeometry(295, 15, 179, 46);
    row.remaining->setAccessibleName(QStringLiteral("残り問題数"));
    QLabel *before =
        label(row.remaining, QStringLiteral("残"), QRect(6, 4, 44, 38), countFont, Palette::White, Palette::Blue);
    row.remainingNumber = label(row.remaining, QString(), QRect(52, 4, 75, 38), countFont, Palette::White, Palette::Blue);
    QLabel *after =
        label(row.remaining, QStringLiteral("問"), QRect(129, 4, 44, 38), countFont, Palette::White, Palette::Blue);
    before->setObjectName(QStringLiteral("Label7"));
    row.remainingNumber->setObjectName(QStringLiteral("Label6"));
    after->setObjectName(QStringLiteral("Label5"));

    row.heading = label(parent, QStringLiteral(" 問 題 "), QRect(50, 70, 82, 27), Fonts::font(Fonts::Mincho, 14.25, true),
                        Palette::White, Palette::Periwinkle);
    row.heading->setObjectName(QStringLiteral("Label4"));
    row.question = label(parent, QString(), QRect(138, 70, 0, 27), Fonts::font(Fonts::PMincho, 15.75), Palette::Black,
                         Palette::White, Qt::AlignLeft | Qt::AlignVCenter);
    row.question->setObjectName(QStringLiteral("Label1"));
    row.question->adjustSize();

    // Over the count, which a restart would reset.
    row.confirmRestart = new PictureButton(QStringLiteral("本当にやり直す"), Palette::ConfirmFace, parent);
    row.confirmRestart->setObjectName(QStringLiteral("Command6"));
    row.confirmRestart->setGeometry(row.remaining->geometry().adjusted(0, -3, 0, 3));
    row.restartQuestion =
        new TouchConfirm(row.restart, row.confirmRestart, std::move(restartLoses), std::move(restart));
    QObject::connect(row.atlas, &QAbstractButton::clicked, parent, [leaveTo, atlas = sideScreen.isEmpty() ? profile.atlasScreenName() : sideScreen] {
        FatalErrors::guard([&] { leaveTo(atlas); });
    });
    QObject::connect(row.menu, &QAbstractButton::clicked, parent,
                     [leaveTo] { FatalErrors::guard([&] { leaveTo(QStringLiteral("メニュー")); }); });
    return row;
}

RegionMapView *regionMap(QWidget *parent, const DrillProfile &profile)
{
    auto *map = new RegionMapView(parent);
    map->setGeometry(profile.mapRect());
    const QImage picture(profile.mapResource());
    if (picture.isNull())
        throw DataError(QString(), QStringLiteral("地図「%1」がありません。").arg(profile.mapResource()));
    map->setMap(picture);
    const RegionMarkerLayout &markers = markerLayout(profile.regionId);
    if (int(markers.drillMarkers.size()) != profile.questionCount)
        throw DataError(QString(), QStringLiteral("%1 の印の数が %2 ではありません。")
                                       .arg(profile.screenName())
                                       .arg(profile.questionCount));
    map->setMarkers(markers.drillMarkers);
    map->setAccessibleName(profile.region().regionName() + QStringLiteral("の地図"));
    for (int k = 0; k < map->markerCount(); ++k)
        AccessibleRole::setQuietName(map->marker(k), markerName(*map, k));
    return map;
}

QString markerName(const RegionMapView &map, int markerIndex)
{
    const QWidget *marker = map.marker(markerIndex);
    return QStringLiteral("マーカー %1 %2")
        .arg(markerIndex + 1)
        .arg(placeOnMap(marker->geometry().center(), map.size()));
}

} // namespace DrillWidgets
