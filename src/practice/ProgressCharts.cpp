#include "ProgressCharts.h"

#include "AccessibleRole.h"
#include "Palette.h"

#include <QPainter>

#include <array>

namespace {

const std::array<QColor, StackedBar::PartCount> PartColours{
    QColor(225, 225, 225), QColor(255, 190, 120), QColor(120, 205, 120), QColor(40, 70, 200)};
const std::array<const char *, StackedBar::PartCount> PartWords{"新しい", "練習中", "覚えた", "マスター"};

std::array<int, StackedBar::PartCount> partsOf(const ReviewProgress::RegionCounts &counts)
{
    return {counts.fresh, counts.learning, counts.known, counts.mastered};
}

} // namespace

FocusableChart::FocusableChart(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    AccessibleRole::set(this, QAccessible::Graphic);
}

void FocusableChart::paintFocus(QPainter &painter)
{
    if (!hasFocus())
        return;
    painter.setPen(QPen(Palette::Black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void FocusableChart::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void FocusableChart::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

const QColor &StackedBar::colourOf(int part)
{
    return PartColours[std::size_t(part)];
}

QString StackedBar::wordOf(int part)
{
    return QString::fromUtf8(PartWords[std::size_t(part)]);
}

StackedBar::StackedBar(const QString &regionName, const ReviewProgress::RegionCounts &counts, QWidget *parent)
    : FocusableChart(parent), m_regionName(regionName)
{
    setCounts(counts);
}

void StackedBar::setCounts(const ReviewProgress::RegionCounts &counts)
{
    m_counts = counts;
    setAccessibleName(spoken(m_regionName, counts));
    update();
}

QString StackedBar::spoken(const QString &regionName, const ReviewProgress::RegionCounts &counts)
{
    QStringList words{regionName};
    const auto parts = partsOf(counts);
    for (int part = 0; part < PartCount; ++part)
        words.append(QStringLiteral("%1 %2").arg(wordOf(part)).arg(parts[std::size_t(part)]));
    return words.join(QStringLiteral("　"));
}

void StackedBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect bar = rect().adjusted(2, 3, -3, -4);
    painter.fillRect(bar, Palette::White);
    const int total = m_counts.total();
    if (total > 0) {
        const auto parts = partsOf(m_counts);
        int counted = 0;
        for (int part = 0; part < PartCount; ++part) {
            const int left = bar.left() + bar.width() * counted / total;
            counted += parts[std::size_t(part)];
            const int right = bar.left() + bar.width() * counted / total;
            painter.fillRect(QRect(left, bar.top(), right - left, bar.height()), colourOf(part));
        }
    }
    painter.setPen(Palette::Black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
    paintFocus(painter);
}


DayStrip::DayStrip(const QList<bool> &practised, QWidget *parent) : FocusableChart(parent)
{
    setAccessibleName(QStringLiteral("この4週間の練習"));
    setPractised(practised);
}

void DayStrip::setPractised(const QList<bool> &practised)
{
    m_practised = practised;
    setAccessibleDescription(QStringLiteral("%1 日のうち %2 日 練習しました")
                                 .arg(practised.size())
                                 .arg(practised.count(true)));
    setFixedSize(int(practised.size()) * Step + 3, Square + 6);
    update();
}

void DayStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Palette::Black);
    for (int day = 0; day < int(m_practised.size()); ++day) {
        const QRect square(2 + day * Step, 3, Square, Square);
        painter.setBrush(m_practised[day] ? StackedBar::colourOf(2) : Palette::White);
        painter.drawRect(square);
    }
    paintFocus(painter);
}
