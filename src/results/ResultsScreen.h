#pragma once

#include "ScreenWindow.h"

#include <QImage>
#include <QList>

#include <utility>

class PictureBox;
class PictureButton;
class ScreenDirectory;
class TouchConfirm;
struct ScreenContext;

// Picture1 of the results screen: the chart picture inside a sunken
// two-pixel border, with the bars drawn on a working copy of it.
class ResultsChartView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BorderWidth = 2;

    explicit ResultsChartView(QWidget *parent = nullptr);

    // Removes every bar; the chart picture stays.
    void clear();
    void drawBar(int regionId, int rate);
    // What is shown: the chart picture with the bars drawn so far.
    const QImage &surface() const { return m_surface; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The picture and the bars again, at the density the chart is shown at.
    void redraw(qreal devicePixelRatio);

    QImage m_picture;
    QImage m_surface;
    QList<std::pair<int, int>> m_bars;  // region, rate
};

// 正解率: the last accuracy of each region's drill as a bar chart, with a
// clear button revealed from the title.
class ResultsScreen : public ScreenWindow
{
    Q_OBJECT
public:
    static inline const QString ScreenName = QStringLiteral("正解率");

    explicit ResultsScreen(ScreenContext &context);

    PictureBox *titlePicture() const { return Image1; }
    PictureButton *clearButton() const { return Command2; }
    // The touch screen's second button before the results are cleared.
    PictureButton *confirmClearButton() const { return Command3; }
    PictureButton *menuButton() const { return Command1; }
    ResultsChartView *chart() const { return Picture1; }

    qint16 clearButtonShown = 0;

protected:
    void pointerMovedOver(QWidget *under) override;
    // The bars in words.
    QString spokenState() const override;

private:
    void drawChart();
    void clearResults();
    void revealClearButton();
    void hideClearButton();

    ScreenContext &m_context;
    PictureBox *Image1 = nullptr;
    PictureButton *Command2 = nullptr;
    PictureButton *Command3 = nullptr;
    TouchConfirm *m_confirmClear = nullptr;
    PictureButton *Command1 = nullptr;
    ResultsChartView *Picture1 = nullptr;
};

// Registers 正解率 with the host.
void registerResultsScreen(ScreenDirectory &host, ScreenContext &context);
