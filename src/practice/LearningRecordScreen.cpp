#include "LearningRecordScreen.h"

#include "AppState.h"
#include "DrillWidgets.h"
#include "FatalErrors.h"
#include "Fonts.h"
#include "Palette.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "ProgressCharts.h"
#include "RegionCatalogue.h"
#include "ReviewSessionScreen.h"
#include "ScreenContext.h"
#include "ScreenDirectory.h"
#include "ScreenReader.h"
#include "Seams.h"
#include "WordArt.h"

#include <QLabel>
#include <QPainter>

namespace {

const QSize ClientArea(766, 478);
constexpr int RowTop = 104;
constexpr int RowStep = 34;
const QRect BarColumn(132, 0, 470, 30);
const QColor Ink = Palette::Black;

QString learnedText(const ReviewProgress::RegionCounts &counts)
{
    return QStringLiteral("覚えた %1 / %2").arg(counts.known + counts.mastered).arg(counts.total());
}

} // namespace

LearningRecordScreen::LearningRecordScreen(ScreenContext &context, ReviewDesk &desk)
    : ScreenWindow(ScreenName, ClientArea, Palette::LightBlue), m_context(context), m_desk(desk),
      m_keeper(desk.store())
{
    setFont(Fonts::font(Fonts::Gothic, 11));
    ReviewKeeper::Notice notice = ReviewKeeper::Notice::None;
    m_record = m_keeper.open(m_desk.calendar().now(), &notice);
    m_catalogue = ReviewDesk::readCatalogue(m_context.state, false);

    Image3 = new PictureBox(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(22, 12, 184, 53);
    Image3->setAccessibleName(ScreenName);
    Image3->setDrawing([](QPainter &painter, QRect bounds) {
        WordArt::paintWordPlate(painter, bounds, ScreenName, Palette::GoldPlate, DrillWidgets::PlateInk);
    });
    Command1 = new PictureButton(ReviewSessionScreen::ScreenName, Palette::RegionFace, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(452, 15, 160, 45);
    connect(Command1, &QAbstractButton::clicked, this,
            FatalErrors::guarded([this] { leaveTo(ReviewSessionScreen::ScreenName); }));
    Command2 = new PictureButton(QStringLiteral("メニュー"), Palette::MenuFace, this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(635, 15, 109, 45);
    connect(Command2, &QAbstractButton::clicked, this,
            FatalErrors::guarded([this] { leaveTo(QStringLiteral("メニュー")); }));

    buildCharts();

    Command3 = new PictureButton(QStringLiteral("記録を消す"), Palette::RestartFace, this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(390, 428, 160, 40);
    connect(Command3, &QAbstractButton::clicked, this, FatalErrors::guarded(this, &LearningRecordScreen::askToClear));
    Command4 = new PictureButton(QStringLiteral("本当に消す"), Palette::ConfirmFace, this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setGeometry(584, 428, 160, 40);
    Command4->hide();
    connect(Command4, &QAbstractButton::clicked, this,
            FatalErrors::guarded(this, &LearningRecordScreen::clearRecord));

    Label1 = DrillWidgets::label(this, QString(), QRect(22, 428, 360, 40), Fonts::font(Fonts::Gothic, 10, true),
                                 Palette::DarkBlue, Palette::LightBlue, Qt::AlignLeft | Qt::AlignVCenter);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    if (notice == ReviewKeeper::Notice::BadRecordSetAside)
        Label1->setText(QStringLiteral("読めない記録を別の名前でとっておきました。"));
    else if (notice == ReviewKeeper::Notice::CannotSave)
        Label1->setText(QStringLiteral("記録を保存できません。"));

    // Tab order: the plate, the two ways out, the bars, the days, 記録を消す, 本当に消す.
    QWidget *previous = Command1;
    setTabOrder(previous, Command2);
    previous = Command2;
    for (StackedBar *bar : std::as_const(m_bars)) {
        setTabOrder(previous, bar);
        previous = bar;
    }
    setTabOrder(previous, m_days);
    setTabOrder(m_days, Command3);
    setTabOrder(Command3, Command4);
    Command1->setFocus(Qt::OtherFocusReason);
    centreOnScreen();
}

void LearningRecordScreen::buildCharts()
{
    // The legend over the bars.
    for (int part = 0; part < StackedBar::PartCount; ++part) {
        auto *swatch = DrillWidgets::label(this, QString(), QRect(BarColumn.left() + part * 118, 78, 16, 16), font(),
                                           Ink, StackedBar::colourOf(part));
        swatch->setFrameShape(QFrame::Box);
        DrillWidgets::label(this, StackedBar::wordOf(part), QRect(BarColumn.left() + part * 118 + 22, 74, 92, 24),
                            font(), Ink, Palette::LightBlue, Qt::AlignLeft | Qt::AlignVCenter);
    }
    const QList<ReviewProgress::RegionCounts> rows = ReviewProgress::byRegion(m_record, m_catalogue);
    for (int i = 0; i < int(rows.size()); ++i) {
        const ReviewProgress::RegionCounts &counts = rows[i];
        const QString name = RegionCatalogue::region(counts.regionId).regionName();
        const int top = RowTop + i * RowStep;
        DrillWidgets::label(this, name, QRect(22, top, 104, 30), Fonts::font(Fonts::Gothic, 12, true), Ink,
                            Palette::LightBlue, Qt::AlignRight | Qt::AlignVCenter);
        auto *bar = new StackedBar(name, counts, this);
        bar->setObjectName(QStringLiteral("Bar%1").arg(counts.regionId));
        bar->setGeometry(BarColumn.translated(0, top));
        m_bars.append(bar);
        m_learnedLabels.append(DrillWidgets::label(this, learnedText(counts), QRect(BarColumn.right() + 10, top, 132, 30),
                                                   font(), Ink, Palette::LightBlue, Qt::AlignLeft | Qt::AlignVCenter));
    }
    const int stripTop = RowTop + int(rows.size()) * RowStep + 4;
    DrillWidgets::label(this, QStringLiteral("この4週間"), QRect(22, stripTop, 104, 24),
                        Fonts::font(Fonts::Gothic, 12, true), Ink, Palette::LightBlue,
                        Qt::AlignRight | Qt::AlignVCenter);
    m_days = new DayStrip(ReviewProgress::practisedDays(m_record, m_desk.calendar().today()), this);
    m_days->setObjectName(QStringLiteral("DayStrip"));
    m_days->move(BarColumn.left(), stripTop);
    DrillWidgets::label(this, QStringLiteral("← きょう"), QRect(m_days->geometry().right() + 6, stripTop, 80, 24),
                        font(), Ink, Palette::LightBlue, Qt::AlignLeft | Qt::AlignVCenter);
}

void LearningRecordScreen::askToClear()
{
    if (Command4->isVisible()) {
        // A second press on 記録を消す takes the question back.
        Command4->hide();
        Label1->setText(QString());
        return;
    }
    Command4->show();
    Label1->setText(QStringLiteral("すべての記録が消えます。消すときは「本当に消す」を押してください。"));
    ScreenReader::say(this, Label1->text());
}

void LearningRecordScreen::clearRecord()
{
    Command4->hide();
    m_record.clear();
    const bool saved = m_keeper.save(m_record);
    Label1->setText(saved ? QStringLiteral("記録を消しました。") : QStringLiteral("記録を消せませんでした。"));
    ScreenReader::say(this, Label1->text());
    const QList<ReviewProgress::RegionCounts> rows = ReviewProgress::byRegion(m_record, m_catalogue);
    for (int i = 0; i < int(rows.size()) && i < int(m_bars.size()); ++i) {
        m_bars[i]->setCounts(rows[i]);
        m_learnedLabels[i]->setText(learnedText(rows[i]));
    }
    m_days->setPractised(ReviewProgress::practisedDays(m_record, m_desk.calendar().today()));
}

QString LearningRecordScreen::spokenState() const
{
    return m_days->accessibleDescription();
}

void LearningRecordScreen::leaveTo(const QString &screenName)
{
    if (m_context.host.isRegistered(screenName))
        m_context.host.transition(ScreenName, screenName);
}
