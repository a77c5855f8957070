#include "MainMenuScreen.h"

#include "AppState.h"
#include "CountryData.h"
#include "FatalErrors.h"
#include "Fonts.h"
#include "KeyboardReveal.h"
#include "Palette.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionCatalogue.h"
#include "ReviewDesk.h"
#include "ScreenContext.h"
#include "ScreenDirectory.h"
#include "ScreenReader.h"
#include "WordArt.h"

#include <QListWidget>
#include <QPainter>

namespace {

struct FlagPicture {
    QRect geometry;
    const char *resource;
    const char *description;
};

const std::array<FlagPicture, 3> FlagPictures{{
    {{67, 173, 150, 146}, ":/pictures/flag-red-cross.png", "赤十字旗"},
    {{259, 183, 192, 127}, ":/pictures/flag-united-nations.png", "国際連合旗"},
    {{493, 182, 197, 131}, ":/pictures/flag-olympic.png", "オリンピック旗"},
}};

const std::array<QPoint, 8> RegionButtonPlaces{{
    {21, 357}, {203, 357}, {385, 357}, {567, 357},
    {21, 409}, {203, 409}, {385, 409}, {567, 409},
}};

} // namespace

MainMenuScreen::MainMenuScreen(ScreenContext &context, ReviewDesk *review)
    : ScreenWindow(ScreenName, QSize(766, 478), Palette::Cyan), m_context(context)
{
    Image3 = new PictureBox(this);
    Image3->setGeometry(22, 18, 396, 96);
    Image3->setAccessibleName(QStringLiteral("世界の国しらべ"));
    Image3->setDrawing([](QPainter &painter, QRect bounds) {
        WordArt::paintTitle(painter, bounds, QStringLiteral("世界の国しらべ"), QColor(230, 40, 40),
                            QColor(255, 255, 255));
    });

    Image2 = new PictureBox(this);
    Image2->setGeometry(456, 0, 281, 158);
    Image2->setImage(QImage(QStringLiteral(":/pictures/menu-dove.png")));
    Image2->setAccessibleName(QStringLiteral("白い鳩"));

    for (std::size_t i = 0; i < FlagPictures.size(); ++i) {
        Image1[i] = new PictureBox(this);
        Image1[i]->setGeometry(FlagPictures[i].geometry);
        Image1[i]->setImage(QImage(QString::fromUtf8(FlagPictures[i].resource)));
        Image1[i]->setAccessibleName(QString::fromUtf8(FlagPictures[i].description));
        Image1[i]->setCursor(Qt::PointingHandCursor);
        connect(Image1[i], &PictureBox::clicked, this,
                FatalErrors::guarded([this, i] { showFlagText(int(i)); }));
    }

    List1 = new QListWidget(this);
    List1->setGeometry(104, 8, 574, 154);
    List1->setFont(Fonts::font(Fonts::Mincho, 11.25));
    List1->setStyleSheet(QStringLiteral("QListWidget { background: rgb(0, 64, 0); color: rgb(255, 255, 0); }"));
    List1->setAccessibleName(QStringLiteral("旗の説明"));
    ScreenReader::readFromCurrentLine(List1);
    List1->hide();

    Command3 = new PictureButton(QStringLiteral("正解率表示"), Palette::LightGreen, this);
    Command3->setGeometry(510, 103, 189, 59);
    Command3->hide();
    connect(Command3, &QAbstractButton::clicked, this,
            FatalErrors::guarded(this, &MainMenuScreen::openResults));

    Command2 = new PictureButton(QStringLiteral("終"), QColor(255, 160, 160), this);
    Command2->setGeometry(700, 306, 45, 45);
    connect(Command2, &QAbstractButton::clicked, this,
            FatalErrors::guarded([this] { m_context.host.endProgram(); }));

    for (const RegionInfo &region : RegionCatalogue::all()) {
        const std::size_t index = std::size_t(region.id - 1);
        Command1[index] = new PictureButton(region.regionName(), Palette::RegionFace, this);
        Command1[index]->setGeometry(QRect(RegionButtonPlaces[index], QSize(179, 48)));
        connect(Command1[index], &QAbstractButton::clicked, this,
                FatalErrors::guarded([this, index] { openRegion(int(index)); }));
    }

    if (review)
        buildReviewButton(*review);

    // The keyboard reveals what the pointer does: the dove the results button,
    // each flag its text.
    auto *reveal = new KeyboardReveal(this);
    reveal->addTrigger(Image2, {Command3}, [this] { revealResultsButton(); }, [this] { hideResultsButton(); });
    for (std::size_t i = 0; i < FlagPictures.size(); ++i)
        reveal->addTrigger(Image1[i], {List1}, [this, i] { showFlagText(int(i)); }, [this] { hideFlagText(); });

    // Tab order in reading order: the dove and the results button (while
    // shown), the flags with the text of the focused one, きょうの復習 and 終
    // (above the region rows), the regions row by row. The menu opens with the
    // focus on the first region.
    QWidget *previous = Image2;
    for (QWidget *next : std::initializer_list<QWidget *>{Command3, Image1[0], List1, Image1[1], Image1[2], Command4,
                                                          Command2}) {
        if (!next)
            continue;
        setTabOrder(previous, next);
        previous = next;
    }
    for (PictureButton *region : Command1) {
        setTabOrder(previous, region);
        previous = region;
    }
    Command1[0]->setFocus(Qt::OtherFocusReason);

    // Load step: nothing is revealed until the pointer has crossed the background.
    listShown = 1;
    resultsButtonShown = 1;
    centreOnScreen();
}

void MainMenuScreen::buildReviewButton(ReviewDesk &review)
{
    const QString name = QStringLiteral("きょうの復習");
    const int due = review.dueToday(m_context.state);
    // Under the United Nations flag, above the region rows.
    Command4 = new PictureButton(QStringLiteral("%1　%2 問").arg(name).arg(due), QColor(255, 200, 230), this);
    Command4->setGeometry(259, 318, 192, 36);
    Command4->setAccessibleName(name);
    Command4->setAccessibleDescription(QStringLiteral("きょう復習する国 %1").arg(due));
    connect(Command4, &QAbstractButton::clicked, this, FatalErrors::guarded(this, &MainMenuScreen::openReview));
}

void MainMenuScreen::openReview()
{
    const QString review = QStringLiteral("きょうの復習");
    if (m_context.host.isRegistered(review))
        m_context.host.transition(ScreenName, review);
}

void MainMenuScreen::pointerMovedOver(QWidget *under)
{
    if (under == nullptr) {
        hideFlagText();
        hideResultsButton();
    } else if (under == Image2) {
        revealResultsButton();
    }
}

void MainMenuScreen::revealResultsButton()
{
    if (resultsButtonShown != 0)
        return;
    Command3->show();
    Command3->raise();
    resultsButtonShown = 1;
}

void MainMenuScreen::hideResultsButton()
{
    resultsButtonShown = 0;
    Command3->hide();
}

void MainMenuScreen::hideFlagText()
{
    listShown = 0;
    List1->hide();
}

void MainMenuScreen::showFlagText(int index)
{
    flagNumber = qint16(index + 1);
    if (listShown != 0)
        return;
    listShown = 1;
    const DataPath path(m_context.state.DataRoot,
                        QStringLiteral("\\国旗\\h") + QString::number(flagNumber) + QStringLiteral(".txt"));
    const QStringList text = ReadShownLines(path);
    List1->clear();
    List1->addItems(text);
    List1->show();
    List1->raise();
    ScreenReader::say(this, text.join(QLatin1Char('\n')));
}

void MainMenuScreen::openRegion(int index)
{
    m_context.state.CurrentRegion = qint16(index + 1);
    m_context.host.transition(ScreenName, QStringLiteral("サブメニュー"));
}

void MainMenuScreen::openResults()
{
    const QString results = QStringLiteral("正解率");
    if (m_context.host.isRegistered(results))
        m_context.host.transition(ScreenName, results);
}
