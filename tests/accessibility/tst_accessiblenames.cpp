// What assistive technology is told about every screen: every window and
// control named and of a role that says what it is,
// the drill's markers named by number only, the verdict given in words.

#include "CaptionFrame.h"
#include "DrillRun.h"
#include "Fonts.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionAtlasScreen.h"
#include "RegionDrillScreen.h"
#include "RegionMapView.h"
#include "ScreenTestMain.h"
#include "ScreenTour.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <memory>

#define VERIFY_ALL_NAMED(screen)                                                                   \
    do {                                                                                           \
        const QStringList unnamed = unnamedControls(screen);                                       \
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));               \
    } while (false)

class AccessibleNamesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyControlIsNamed_data();
    void everyControlIsNamed();
    void viewerControlsAreNamed();
    void atlasNames_data();
    void atlasNames();
    void drillGivesNothingAway_data();
    void drillGivesNothingAway();
    void drillReadsOutQuestionAndCount();
    void verdictInWords_data();
    void verdictInWords();
    void chartRatesInWords();

private:
    // "class objectName" of each control without a name; empty when all have one.
    QStringList unnamedControls(QWidget *screen) const;
    void answer(RegionDrillScreen *screen, bool correct);
    void endPause(RegionDrillScreen *screen);

    std::unique_ptr<ScreenTour> m_tour;
};

void AccessibleNamesTest::init()
{
    m_tour = std::make_unique<ScreenTour>();
}

void AccessibleNamesTest::cleanup()
{
    m_tour.reset();
}

QStringList AccessibleNamesTest::unnamedControls(QWidget *screen) const
{
    QStringList unnamed;
    // A window is announced as a window named by its caption (an atlas adds
    // 国しらべ, as its region's submenu has the same caption).
    const QAccessibleInterface *window = QAccessible::queryAccessibleInterface(screen);
    const QString expected = screen->windowTitle()
                             + (qobject_cast<RegionAtlasScreen *>(screen) ? QStringLiteral(" 国しらべ") : QString());
    if (window->role() != QAccessible::Window || window->text(QAccessible::Name) != expected
        || screen->windowTitle().trimmed().isEmpty())
        unnamed << QStringLiteral("window");
    for (QWidget *control : controlsOf(screen)) {
        // A label names itself by its text; one without text shows nothing
        // yet (the accuracy before the first answer) and is checked again
        // once it has some.
        if (auto *label = qobject_cast<QLabel *>(control); label && label->text().isEmpty())
            continue;
        // A bare widget's role, Client, reaches screen readers as a "filler".
        if (accessibleText(control, QAccessible::Name).trimmed().isEmpty()
            || (QAccessible::queryAccessibleInterface(control)->role() == QAccessible::Client
                && !isCompositeControl(control)))
            unnamed << QStringLiteral("%1 %2").arg(QString::fromLatin1(control->metaObject()->className()),
                                                   control->objectName());
    }
    // The exclusion of composite parts holds only while no control of ours
    // lies inside a composite.
    for (QWidget *widget : screen->findChildren<QWidget *>()) {
        if (compositeOwner(widget, screen) && widget->metaObject()->className()[0] != 'Q')
            unnamed << QStringLiteral("own control inside a composite: %1")
                           .arg(QString::fromLatin1(widget->metaObject()->className()));
    }
    return unnamed;
}

void AccessibleNamesTest::answer(RegionDrillScreen *screen, bool correct)
{
    const int asked = screen->run().currentQuestion;
    const int country = correct ? asked : asked % screen->run().questionCount + 1;
    QTest::mouseClick(screen->mapView()->marker(country - 1), Qt::LeftButton, {}, QPoint(1, 1));
}

void AccessibleNamesTest::endPause(RegionDrillScreen *screen)
{
    m_tour->clock.now += 3.0;
    screen->timerTicked();
}

void AccessibleNamesTest::everyControlIsNamed_data()
{
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<int>("region");
    for (const QString &name : ScreenTour::allScreenNames()) {
        if (name == RegionSubmenuScreen::ScreenName) {
            for (const RegionInfo &region : RegionCatalogue::all())
                QTest::addRow("%s %s", qPrintable(name), qPrintable(region.regionName()))
                    << name << int(region.id);
        } else {
            QTest::newRow(qPrintable(name)) << name << 1;
        }
    }
}

void AccessibleNamesTest::everyControlIsNamed()
{
    QFETCH(QString, screenName);
    QFETCH(int, region);
    QWidget *screen = m_tour->open(screenName, region);
    QVERIFY(screen);
    VERIFY_ALL_NAMED(screen);

    // Names that follow the screen's state: after a choice on an atlas, after
    // an answer and at the end of a drill.
    if (auto *atlas = qobject_cast<RegionAtlasScreen *>(screen)) {
        QTest::mouseClick(atlas->map()->marker(0), Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseMove(atlas->flag());
        QTest::mouseMove(atlas->titlePicture());
        QVERIFY(atlas->originFrame()->isVisible());
        VERIFY_ALL_NAMED(screen);
    } else if (auto *drill = qobject_cast<RegionDrillScreen *>(screen)) {
        while (!drill->run().finished) {
            answer(drill, true);
            VERIFY_ALL_NAMED(screen);
            endPause(drill);
        }
        VERIFY_ALL_NAMED(screen);
    }
}

void AccessibleNamesTest::viewerControlsAreNamed()
{
    OfficialPageScreen *viewer = m_tour->openViewer();
    QVERIFY(viewer);
    VERIFY_ALL_NAMED(viewer);
    QCOMPARE(accessibleText(viewer, QAccessible::Name), QStringLiteral("日本"));
    QCOMPARE(accessibleText(viewer->addressBox(), QAccessible::Name), QStringLiteral("アドレス"));
    QCOMPARE(accessibleText(viewer->browser(), QAccessible::Name), QStringLiteral("公式ページ"));
}

void AccessibleNamesTest::atlasNames_data()
{
    QTest::addColumn<int>("region");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("flagWord");
    QTest::newRow("アジア 1") << 1 << 1 << QStringLiteral("国旗");
    QTest::newRow("アジア 23, regional flag") << 1 << 23 << QStringLiteral("域旗");
    QTest::newRow("北アメリカ 24, caption from the renderer") << 7 << 24 << QStringLiteral("域旗");
    QTest::newRow("北アメリカ 23") << 7 << 23 << QStringLiteral("国旗");
    QTest::newRow("アフリカ 53") << 4 << 53 << QStringLiteral("国旗");
}

void AccessibleNamesTest::atlasNames()
{
    QFETCH(int, region);
    QFETCH(int, entry);
    QFETCH(QString, flagWord);
    const RegionInfo &info = RegionCatalogue::region(region);
    auto *atlas = m_tour->open<RegionAtlasScreen>(info.atlasScreenName());
    QVERIFY(atlas);

    // A marker is named as its tool tip names it: the entry's name.
    RegionMapView *map = atlas->map();
    QCOMPARE(map->markerCount(), int(info.countryCount));
    for (int k = 0; k < map->markerCount(); ++k) {
        const QString name = m_tour->state.CountryNames[k + 1];
        QVERIFY(!name.isEmpty());
        QCOMPARE(map->marker(k)->toolTip(), name);
        QCOMPARE(accessibleText(map->marker(k), QAccessible::Name), name);
    }
    QCOMPARE(accessibleText(map, QAccessible::Name), info.regionName() + QStringLiteral("の地図"));
    QCOMPARE(accessibleText(atlas->selector(), QAccessible::Name), QStringLiteral("国名の選択"));
    // The prompt above the selector is its label.
    const auto labels = QAccessible::queryAccessibleInterface(atlas->selector())->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->text(QAccessible::Name), QStringLiteral("国名を選択してください"));
    QCOMPARE(accessibleText(atlas->overviewList(), QAccessible::Name), QStringLiteral("概要"));
    QCOMPARE(accessibleText(atlas->originList(), QAccessible::Name), QStringLiteral("国旗の由来"));
    QCOMPARE(accessibleText(atlas->titlePicture(), QAccessible::Name), QStringLiteral("国しらべ"));

    // The flag is named after its entry and its box's caption.
    QTest::mouseClick(map->marker(entry - 1), Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(accessibleText(atlas->flagFrame(), QAccessible::Name), flagWord);
    QCOMPARE(accessibleText(atlas->flag(), QAccessible::Name),
             m_tour->state.CountryNames[entry] + QStringLiteral("の") + flagWord);
    // The chosen entry is the selector's value, and its text, which screen
    // readers read as a combo box's value; its name stays.
    QAccessibleInterface *selector = QAccessible::queryAccessibleInterface(atlas->selector());
    QCOMPARE(selector->role(), QAccessible::ComboBox);
    QCOMPARE(selector->text(QAccessible::Value), m_tour->state.CountryNames[entry]);
    QVERIFY(selector->textInterface());
    QCOMPARE(selector->textInterface()->text(0, selector->textInterface()->characterCount()),
             m_tour->state.CountryNames[entry]);
    QCOMPARE(selector->text(QAccessible::Name), QStringLiteral("国名の選択"));
}

void AccessibleNamesTest::drillGivesNothingAway_data()
{
    QTest::addColumn<int>("region");
    for (const RegionInfo &region : RegionCatalogue::all())
        QTest::newRow(qPrintable(region.drillScreenName())) << int(region.id);
}

void AccessibleNamesTest::drillGivesNothingAway()
{
    QFETCH(int, region);
    const RegionInfo &info = RegionCatalogue::region(region);
    auto *drill = m_tour->open<RegionDrillScreen>(info.drillScreenName());
    QVERIFY(drill);
    // The drill turned the names into questions: " 名前はどこ？ ".
    QStringList countries;
    for (int i = 1; i <= info.countryCount; ++i) {
        QString question = m_tour->state.CountryNames[i];
        QVERIFY(question.startsWith(QLatin1Char(' ')) && question.endsWith(QStringLiteral("はどこ？ ")));
        countries << question.mid(1, question.size() - 6);
    }

    RegionMapView *map = drill->mapView();
    QCOMPARE(accessibleText(map, QAccessible::Name), info.regionName() + QStringLiteral("の地図"));
    QCOMPARE(map->markerCount(), int(info.countryCount));
    for (int k = 0; k < map->markerCount(); ++k) {
        MapMarker *marker = map->marker(k);
        QVERIFY(accessibleText(marker, QAccessible::Name).startsWith(QStringLiteral("マーカー %1 ").arg(k + 1)));
        QVERIFY(marker->toolTip().isEmpty());
    }
    // Only the question names a country, and only the one asked.
    for (QWidget *control : controlsOf(drill)) {
        if (control == drill->questionLabel())
            continue;
        const QString told = accessibleText(control, QAccessible::Name) + QLatin1Char('|')
                             + accessibleText(control, QAccessible::Description) + QLatin1Char('|')
                             + control->toolTip();
        for (const QString &country : std::as_const(countries))
            QVERIFY2(!told.contains(country), qPrintable(control->objectName() + QStringLiteral(": ") + told));
    }
}

void AccessibleNamesTest::drillReadsOutQuestionAndCount()
{
    m_tour->askFirst(3, 12);
    auto *drill = m_tour->open<RegionDrillScreen>(QStringLiteral("南アメリカドリル"));
    QVERIFY(drill);
    QCOMPARE(drill->run().currentQuestion, qint16(3));
    QCOMPARE(accessibleText(drill->questionLabel(), QAccessible::Name), m_tour->state.CountryNames[3]);
    QCOMPARE(accessibleText(drill->remainingLabel(), QAccessible::Name), QStringLiteral("12"));
    QCOMPARE(accessibleText(drill->remainingBox(), QAccessible::Name), QStringLiteral("残り問題数"));
    QCOMPARE(accessibleText(drill->questionHeading(), QAccessible::Name), QStringLiteral(" 問 題 "));

    answer(drill, false);
    QCOMPARE(accessibleText(drill->accuracyLabel(), QAccessible::Name), QStringLiteral("0"));
    endPause(drill);
    QCOMPARE(accessibleText(drill->remainingLabel(), QAccessible::Name), QStringLiteral("11"));
    QCOMPARE(accessibleText(drill->questionLabel(), QAccessible::Name),
             m_tour->state.CountryNames[drill->run().currentQuestion]);
}

void AccessibleNamesTest::verdictInWords_data()
{
    QTest::addColumn<int>("correctAnswers");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("picture");
    // 南アメリカドリル, 12 questions.
    QTest::newRow("12 of 12, 100") << 12 << QStringLiteral("金メダル 合格") << QStringLiteral("金メダル");
    QTest::newRow("10 of 12, 83") << 10 << QStringLiteral("銀メダル 合格") << QStringLiteral("銀メダル");
    QTest::newRow("8 of 12, 66") << 8 << QStringLiteral("銅メダル 合格") << QStringLiteral("銅メダル");
    QTest::newRow("7 of 12, 58") << 7 << QStringLiteral("不合格") << QString();
}

void AccessibleNamesTest::verdictInWords()
{
    QFETCH(int, correctAnswers);
    QFETCH(QString, verdict);
    QFETCH(QString, picture);
    auto *drill = m_tour->open<RegionDrillScreen>(QStringLiteral("南アメリカドリル"));
    QVERIFY(drill);
    CaptionFrame *judgement = drill->judgementBox();
    QCOMPARE(accessibleText(judgement, QAccessible::Name), QStringLiteral("判定"));
    QCOMPARE(accessibleText(judgement, QAccessible::Description), QString());

    for (int question = 1; question <= 12; ++question) {
        const bool correct = question <= correctAnswers;
        answer(drill, correct);
        const QString word = correct ? QStringLiteral("正解") : QStringLiteral("不正解");
        QCOMPARE(accessibleText(judgement, QAccessible::Description), word);
        QCOMPARE(accessibleText(drill->feedbackPicture(), QAccessible::Name), word);
        endPause(drill);
        if (question < 12)
            QCOMPARE(accessibleText(judgement, QAccessible::Description), QString());
    }
    QCOMPARE(accessibleText(judgement, QAccessible::Description), verdict);
    if (picture.isEmpty()) {
        QVERIFY(drill->failNotice()->isVisible());
        QCOMPARE(accessibleText(drill->failNotice(), QAccessible::Name), QStringLiteral("不合格"));
    } else {
        QVERIFY(drill->feedbackPicture()->isVisible());
        QCOMPARE(accessibleText(drill->feedbackPicture(), QAccessible::Name), picture);
    }

    // A restart asks afresh: no verdict, no accuracy.
    m_tour->clock.now += 10;
    QTest::mouseMove(drill->titlePlate());
    QTest::mouseClick(drill->restartButton(), Qt::LeftButton);
    QCOMPARE(accessibleText(judgement, QAccessible::Description), QString());
    QCOMPARE(accessibleText(drill->accuracyLabel(), QAccessible::Name), QString());
}

void AccessibleNamesTest::chartRatesInWords()
{
    m_tour->state.AccuracyRates[1] = 92;
    m_tour->state.AccuracyRates[4] = 58;
    auto *results = m_tour->open<ResultsScreen>(ResultsScreen::ScreenName);
    QVERIFY(results);
    QCOMPARE(accessibleText(results->chart(), QAccessible::Name), QStringLiteral("正解率のグラフ"));
    QCOMPARE(accessibleText(results->chart(), QAccessible::Description),
             QStringLiteral("アジア 92％、西アジア 0％、オセアニア 0％、アフリカ 58％、ヨーロッパ 0％、"
                            "ＮＩＳ諸国 0％、北アメリカ 0％、南アメリカ 0％"));

    // Clearing empties the bars and their words.
    QTest::mouseMove(results->chart(), QPoint(5, 5));
    QTest::mouseMove(results->titlePicture());
    QTest::mouseClick(results->clearButton(), Qt::LeftButton);
    QVERIFY(!accessibleText(results->chart(), QAccessible::Description).contains(QStringLiteral("92")));
    QVERIFY(!accessibleText(results->chart(), QAccessible::Description).contains(QStringLiteral("58")));
}

KUNISHIRABE_SCREEN_TEST_MAIN(AccessibleNamesTest)
#include "tst_accessiblenames.moc"
