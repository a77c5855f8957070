#pragma once

#include "ReviewDesk.h"
#include "ScreenWindow.h"

class DayStrip;
class PictureBox;
class PictureButton;
class QLabel;
class StackedBar;
struct ScreenContext;

// 学習の記録: what the review's record says has been learned, per region one
// stacked bar, the days practised in the last four weeks, and 記録を消す,
// which clears the record only after a second, confirming press.
class LearningRecordScreen : public ScreenWindow
{
    Q_OBJECT
public:
    static inline const QString ScreenName = QStringLiteral("学習の記録");

    LearningRecordScreen(ScreenContext &context, ReviewDesk &desk);

    PictureButton *reviewButton() const { return Command1; }
    PictureButton *menuButton() const { return Command2; }
    PictureButton *clearButton() const { return Command3; }
    PictureButton *confirmClearButton() const { return Command4; }
    StackedBar *regionBar(int index) const { return m_bars.value(index); }
    DayStrip *dayStrip() const { return m_days; }
    QLabel *noticeLabel() const { return Label1; }

protected:
    QString spokenState() const override;

private:
    void buildCharts();
    void askToClear();
    void clearRecord();
    void leaveTo(const QString &screenName);

    ScreenContext &m_context;
    ReviewDesk &m_desk;
    ReviewKeeper m_keeper;
    ReviewRecord m_record;
    ReviewCatalogue m_catalogue;

    PictureBox *Image3 = nullptr;
    PictureButton *Command1 = nullptr;
    PictureButton *Command2 = nullptr;
    QList<StackedBar *> m_bars;
    QList<QLabel *> m_learnedLabels;
    DayStrip *m_days = nullptr;
    PictureButton *Command3 = nullptr;
    PictureButton *Command4 = nullptr;
    QLabel *Label1 = nullptr;
};
