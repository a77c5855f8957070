#pragma once

#include "ReviewProgress.h"

#include <QList>
#include <QWidget>

class QPainter;

// A chart a keyboard can reach: focused, it is framed, and a screen reader
// reads its name.
class FocusableChart : public QWidget
{
    Q_OBJECT
public:
    explicit FocusableChart(QWidget *parent);

protected:
    void paintFocus(QPainter &painter);
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

// One region's entries as a bar in four parts, left to right: new, learning,
// known, mastered. A screen reader hears the same counts in words.
class StackedBar : public FocusableChart
{
    Q_OBJECT
public:
    static const QColor &colourOf(int part);
    static QString wordOf(int part);
    static constexpr int PartCount = 4;

    StackedBar(const QString &regionName, const ReviewProgress::RegionCounts &counts, QWidget *parent = nullptr);

    static QString spoken(const QString &regionName, const ReviewProgress::RegionCounts &counts);
    void setCounts(const ReviewProgress::RegionCounts &counts);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_regionName;
    ReviewProgress::RegionCounts m_counts;
};

// The last four weeks as a strip of squares, today at the right; a day with
// a session is filled.
class DayStrip : public FocusableChart
{
    Q_OBJECT
public:
    static constexpr int Square = 13;
    static constexpr int Step = 16;

    explicit DayStrip(const QList<bool> &practised, QWidget *parent = nullptr);
    void setPractised(const QList<bool> &practised);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<bool> m_practised;
};
