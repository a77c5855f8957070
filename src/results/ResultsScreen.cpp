#include "ResultsScreen.h"

#include "AccessibleRole.h"
#include "AppState.h"
#include "FatalErrors.h"
#include "Fonts.h"
#include "KeyboardReveal.h"
#include "Palette.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionCatalogue.h"
#include "ResultsChart.h"
#include "ScreenContext.h"
#include "ScreenDirectory.h"
#include "ScreenReader.h"
#include "TouchConfirm.h"
#include "WordArt.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

const QColor TitleInk(0, 40, 190);

qreal screenPixelRatio()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

} // namespace

ResultsChartView::ResultsChartView(QWidget *parent)
    : QWidget(parent), m_picture(ResultsChart::drawPicture(screenPixelRatio())), m_surface(m_picture)
{
    AccessibleRole::set(this, QAccessible::Graphic);
    setObjectName(QStringLiteral("Picture1"));
    setAccessibleName(QStringLiteral("正解率のグラフ"));
}

void ResultsChartView::clear()
{
    m_bars.clear();
    m_surface = m_picture;
    update();
}

void ResultsChartView::drawBar(int regionId, int rate)
{
    m_bars.append({regionId, rate});
    ResultsChart::drawBar(m_surface, regionId, rate);
    update();
}

void ResultsChartView::redraw(qreal devicePixelRatio)
{
    m_picture = ResultsChart::drawPicture(devicePixelRatio);
    m_surface = m_picture;
    for (const auto &[regionId, rate] : std::as_const(m_bars))
        ResultsChart::drawBar(m_surface, regionId, rate);
}

void ResultsChartView::paintEvent(QPaintEvent *)
{
    // The page's scale may have changed since the chart was drawn.
    if (!qFuzzyCompare(m_picture.devicePixelRatio(), devicePixelRatioF()))
        redraw(devicePixelRatioF());
    QPainter painter(this);
    // Sunken border: dark above and to the left, light below and to the right.
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.setPen(QColor(0, 0, 0));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(QColor(212, 208, 200));
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());

    painter.drawImage(QPoint(BorderWidth, BorderWidth), m_surface);
}

ResultsScreen::ResultsScreen(ScreenContext &context)
    : ScreenWindow(ScreenName, QSize(768, 480), Palette::LightGreen), m_context(context)
{
    setFont(Fonts::font(Fonts::Mincho, 9));

    Image1 = new PictureBox(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(44, 6, 184, 53);
    Image1->setAccessibleName(QStringLiteral("正解率"));
    Image1->setDrawing([](QPainter &painter, QRect bounds) {
        WordArt::paintWordPlate(painter, bounds, QStringLiteral("正解率"), Palette::GoldPlate, TitleInk);
    });

    Command2 = new PictureButton(QStringLiteral("正解率消去"), Palette::LightGreen, this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(44, 2, 189, 59);
    Command2->hide();
    Command3 = new PictureButton(QStringLiteral("本当に消す"), Palette::ConfirmFace, this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(250, 10, 160, 45);
    m_confirmClear = new TouchConfirm(
        Command2, Command3,
        [this] {
            for (int regionId = 1; regionId <= AppState::RegionCount; ++regionId) {
                if (m_context.state.AccuracyRates[regionId] != 0)
                    return true;
            }
            return false;
        },
        [this] { clearResults(); });

    Command1 = new PictureButton(QStringLiteral("メニュー"), Palette::MenuFace, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(615, 10, 108, 45);
    connect(Command1, &QAbstractButton::clicked, this,
            FatalErrors::guarded([this] { m_context.host.transition(ScreenName, QStringLiteral("メニュー")); }));

    Picture1 = new ResultsChartView(this);
    Picture1->setGeometry(43, 67, 681, 404);

    // The keyboard reveals the clear button from the title, as the pointer does.
    auto *reveal = new KeyboardReveal(this);
    reveal->addTrigger(Image1, {Command2, Command3}, [this] { revealClearButton(); }, [this] { hideClearButton(); });
    setTabOrder(Image1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command1);
    Command1->setFocus(Qt::OtherFocusReason);

    centreOnScreen();
    drawChart();
}

void ResultsScreen::drawChart()
{
    clearButtonShown = 1;
    QStringList rates;
    for (int regionId = 1; regionId <= AppState::RegionCount; ++regionId) {
        const int rate = m_context.state.AccuracyRates[regionId];
        Picture1->drawBar(regionId, rate);
        rates << RegionCatalogue::region(regionId).regionName() + QLatin1Char(' ')
                     + QString::number(rate) + QStringLiteral("％");
    }
    // The bars in words, for assistive technology.
    Picture1->setAccessibleDescription(rates.join(QStringLiteral("、")));
}

void ResultsScreen::clearResults()
{
    Picture1->clear();
    for (int regionId = 1; regionId <= AppState::RegionCount; ++regionId)
        m_context.state.AccuracyRates[regionId] = 0;
    drawChart();
    ScreenReader::say(this, spokenState());
}

QString ResultsScreen::spokenState() const
{
    return Picture1->accessibleDescription();
}

void ResultsScreen::pointerMovedOver(QWidget *under)
{
    if (under == nullptr || under == Picture1)
        hideClearButton();
    else if (under == Image1)
        revealClearButton();
}

void ResultsScreen::revealClearButton()
{
    if (clearButtonShown != 0)
        return;
    clearButtonShown = 1;
    Command2->show();
    Command2->raise();
}

void ResultsScreen::hideClearButton()
{
    clearButtonShown = 0;
    Command2->hide();
    m_confirmClear->withdraw();
}

void registerResultsScreen(ScreenDirectory &host, ScreenContext &context)
{
    host.registerScreen(ResultsScreen::ScreenName, [&context] { return new ResultsScreen(context); });
}
