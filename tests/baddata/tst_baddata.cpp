// The shipped data directory, copied and broken one way at a time, driven
// through the real screens as a user drives them. Each case ends one of two
// ways: the program names the broken file in a Japanese message and ends
// with a failure status, or it shows what the file holds (bytes that are not
// code page 932 as U+FFFD, an empty text as an empty list). Nothing is ever
// written into the data directory.
#include "AppState.h"
#include "Application.h"
#include "AtlasScreens.h"
#include "OfficialPageScreen.h"
#include "CountryData.h"
#include "Cp932.h"
#include "DrillRun.h"
#include "DrillScreens.h"
#include "Fonts.h"
#include "MainMenuScreen.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "QuietLibraries.h"
#include "RecordingReporter.h"
#include "RegionAtlasScreen.h"
#include "RegionCatalogue.h"
#include "RegionDrillScreen.h"
#include "RegionMapView.h"
#include "RegionSubmenuScreen.h"
#include "ScreenContext.h"
#include "ScreenHost.h"
#include "DesktopSeams.h"
#include "TempDataRoot.h"
#include "TestSeams.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

RecordingReporter *g_reporter = nullptr;

const QString ShippedData = QStringLiteral(KUNISHIRABE_SOURCE_DIR "/data");

// Statuses of a run that did not end with the program's own failure status.
constexpr int StillRunning = 100;        // no error: the steps ran to the end
constexpr int ReportedButRunning = 101;  // an error was reported, the program went on

constexpr int Asia = 1;
constexpr int Nis = 6;
constexpr int SouthAmerica = 8;

enum class BreakOp {
    Nothing,
    Remove,
    Replace,      // the whole file becomes `bytes`
    MakeFolder,   // a folder of the same name instead of the file
    KeepBytes,    // the first `count` bytes
    CutInHalf,
    DropTail,     // without its last `count` bytes
    KeepLines,    // the first `count` lines
    ReplaceLine,  // line `count` becomes `bytes`
    PrefixLine,   // `bytes` before line `count`
    SuffixLine,   // `bytes` after line `count`, before its line end
};

// One way of breaking one file; `file` is relative to the data directory.
struct Breakage {
    BreakOp op = BreakOp::Nothing;
    QString file;
    QByteArray bytes;
    int count = 0;
};

// What the user does, from the main menu on.
enum class Action {
    OpenAtlas,                    // opens the region's atlas
    ChooseByList,                 // chooses another entry by marker, then the entry by list
    ChooseByMarker,               // chooses another entry by list, then the entry by marker
    ShowOrigin,                   // chooses the entry by marker and points at its flag
    ChooseByListWithOriginShown,  // another entry's origin on show, then the entry by list
    ChooseEveryRow,               // every selector row in turn, then the entry by marker
    OpenDrill,                    // opens the region's drill
    RightThenWrong,               // answers two questions, each followed by its pause
    WrongThenRight,
    FinishGold,                   // a whole run, then 再スタート and one right answer
    FinishSilver,
    FinishCopper,
    FinishFail,
    MenuFlagText,                 // clicks flag `entry` on the main menu
};

enum class Outcome { Reported, Shows };

struct Expectation {
    Outcome outcome = Outcome::Shows;
    QString namedFile;  // Reported: the file the message names
    QString shownText;  // Shows: text that a shown row or label contains
};

} // namespace

Q_DECLARE_METATYPE(Breakage)
Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Expectation)

namespace {

Breakage intact() { return {}; }
Breakage removed(const QString &file) { return {BreakOp::Remove, file, {}, 0}; }
Breakage replaced(const QString &file, const QByteArray &bytes) { return {BreakOp::Replace, file, bytes, 0}; }
Breakage madeFolder(const QString &file) { return {BreakOp::MakeFolder, file, {}, 0}; }
Breakage keptBytes(const QString &file, int count) { return {BreakOp::KeepBytes, file, {}, count}; }
Breakage cutInHalf(const QString &file) { return {BreakOp::CutInHalf, file, {}, 0}; }
Breakage tailDropped(const QString &file, int count) { return {BreakOp::DropTail, file, {}, count}; }
Breakage keptLines(const QString &file, int count) { return {BreakOp::KeepLines, file, {}, count}; }
Breakage lineReplaced(const QString &file, int line, const QByteArray &bytes)
{
    return {BreakOp::ReplaceLine, file, bytes, line};
}
Breakage linePrefixed(const QString &file, int line, const QByteArray &bytes)
{
    return {BreakOp::PrefixLine, file, bytes, line};
}
Breakage lineSuffixed(const QString &file, int line, const QByteArray &bytes)
{
    return {BreakOp::SuffixLine, file, bytes, line};
}

Expectation reported(const QString &file) { return {Outcome::Reported, file, {}}; }
Expectation shows(const QString &text = {}) { return {Outcome::Shows, {}, text}; }

const QString Replacement(QChar::ReplacementCharacter);
const QString Ellipsis(QChar(0x2026));

QByteArray cp932(const QString &text)
{
    return Cp932::encode(text);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The lines of a CR LF text without their line ends; a final line end adds no line.
QList<QByteArray> crlfLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf("\r\n", start);
        if (end < 0)
            end = bytes.size();
        lines.append(bytes.mid(start, end - start));
        start = end + 2;
    }
    return lines;
}

QByteArray joinCrlf(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// One line of 10 MB without a line end.
QByteArray tenMegabyteLine()
{
    const QByteArray unit = cp932(u"世界の国しらべ、"_s);
    QByteArray line;
    line.reserve(10 * 1024 * 1024 + unit.size());
    while (line.size() < 10 * 1024 * 1024)
        line += unit;
    return line;
}

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString target = to + u'/' + QDir(from).relativeFilePath(info.filePath());
        // Byte by byte: QFile::copy syncs every file to disk, slow for hundreds of them.
        const bool copied = info.isDir() ? QDir().mkpath(target)
                                         : QDir().mkpath(QFileInfo(target).path())
                                               && writeBytes(target, readBytes(info.filePath()));
        if (!copied)
            return false;
    }
    return true;
}

// Breaks one file under root; false when the file to break is not there.
bool breakData(const QString &root, const Breakage &breakage)
{
    if (breakage.op == BreakOp::Nothing)
        return true;
    const QString path = root + u'/' + breakage.file;
    if (!QFileInfo(path).isFile())
        return false;
    const QByteArray bytes = readBytes(path);
    QList<QByteArray> lines = crlfLines(bytes);
    const qsizetype line = breakage.count - 1;
    switch (breakage.op) {
    case BreakOp::Nothing:
        return true;
    case BreakOp::Remove:
        return QFile::remove(path);
    case BreakOp::Replace:
        return writeBytes(path, breakage.bytes);
    case BreakOp::MakeFolder:
        return QFile::remove(path) && QDir().mkdir(path);
    case BreakOp::KeepBytes:
        return writeBytes(path, bytes.left(breakage.count));
    case BreakOp::CutInHalf:
        return writeBytes(path, bytes.left(bytes.size() / 2));
    case BreakOp::DropTail:
        return writeBytes(path, bytes.chopped(breakage.count));
    case BreakOp::KeepLines:
        return writeBytes(path, joinCrlf(lines.mid(0, breakage.count)));
    case BreakOp::ReplaceLine:
    case BreakOp::PrefixLine:
    case BreakOp::SuffixLine:
        if (line < 0 || line >= lines.size())
            return false;
        if (breakage.op == BreakOp::ReplaceLine)
            lines[line] = breakage.bytes;
        else if (breakage.op == BreakOp::PrefixLine)
            lines[line].prepend(breakage.bytes);
        else
            lines[line].append(breakage.bytes);
        return writeBytes(path, joinCrlf(lines));
    }
    return false;
}

// A folder, or a file's size, modification time and content hash.
QString describe(const QFileInfo &info)
{
    if (info.isDir())
        return u"folder"_s;
    const QByteArray hash = QCryptographicHash::hash(readBytes(info.filePath()), QCryptographicHash::Sha1).toHex();
    return u"%1 bytes, modified %2, sha1 %3"_s.arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(QString::fromLatin1(hash));
}

using Snapshot = QMap<QString, QString>;

// Every entry under root by its relative path.
Snapshot snapshot(const QString &root)
{
    Snapshot entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries.insert(QDir(root).relativeFilePath(info.filePath()), describe(info));
    }
    return entries;
}

// Takes the entry at relative path afresh; a folder's contents are not looked at.
void retake(Snapshot &entries, const QString &root, const QString &relative)
{
    if (relative.isEmpty())
        return;
    const QFileInfo info(root + u'/' + relative);
    if (info.exists())
        entries.insert(relative, describe(info));
    else
        entries.remove(relative);
}

// The rows a list box shows for a line file: each line, cut to the display length.
QStringList shownRows(const QString &path)
{
    QStringList rows;
    for (const QByteArray &line : crlfLines(readBytes(path))) {
        const QString text = Cp932::decode(line);
        rows.append(text.size() <= MaxShownLineLength ? text
                                                      : text.left(MaxShownLineLength - 1) + Ellipsis);
    }
    return rows;
}

// The names of the first n records of a kuni.txt (no name there holds a comma or a quote).
QStringList recordNames(const QString &path, int n)
{
    QStringList names;
    for (const QByteArray &line : crlfLines(readBytes(path)).mid(0, n))
        names.append(Cp932::decode(line.left(line.indexOf(','))));
    return names;
}

QStringList rowsOf(const QListWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows.append(list->item(i)->text());
    return rows;
}

QStringList rowsOf(const QComboBox *combo)
{
    QStringList rows;
    for (int i = 0; i < combo->count(); ++i)
        rows.append(combo->itemText(i));
    return rows;
}

bool anyContains(const QStringList &rows, const QString &text)
{
    return std::any_of(rows.cbegin(), rows.cend(), [&](const QString &row) { return row.contains(text); });
}

QPoint centreIn(const QWidget *window, const QWidget *widget)
{
    return widget->mapTo(window, widget->rect().center());
}

QImage comparable(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The most right answers of a run of `questions` that still give the verdict.
int rightAnswersFor(DrillVerdict verdict, int questions)
{
    for (int right = questions; right >= 0; --right) {
        if (DrillRules::verdictFor(DrillRules::accuracyPercent(right, questions)) == verdict)
            return right;
    }
    return -1;
}

// The production sound player, with a record of what it was asked to play.
class ListeningSoundPlayer : public SoundPlayer
{
public:
    void play(const QString &filePath) override
    {
        played.append(filePath);
        m_player.play(filePath);
    }

    QStringList played;

private:
    SoundEffectPlayer m_player;
};

} // namespace

class BadDataTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void oneBrokenFile_data();
    void oneBrokenFile();
    void playableSounds_data();
    void playableSounds();
    void longLinesAreCut_data();
    void longLinesAreCut();

private:
    using Step = std::function<void()>;

    QString root() const { return m_data->path(); }
    QString dataFile(const QString &relative) const { return root() + u'/' + relative; }
    bool copyData();
    bool breakCopy(const Breakage &breakage);
    void restoreCopy();
    int runProgram(const QList<Step> &steps);
    QList<Step> stepsFor(Action action, int regionId, int entry);

    QList<Step> openFromMenu(int regionId, bool drill);
    Step showMenu();
    Step chooseByList(int regionId, int entry);
    Step chooseRow(int regionId, int row);
    Step chooseByMarker(int regionId, int entry);
    Step pointAtFlag(int regionId);
    Step answer(int regionId, bool right);
    Step endPause(int regionId);
    Step noteVerdict(int regionId, DrillVerdict verdict);
    Step restart(int regionId);
    void moveToBackground(QWidget *window);

    RegionAtlasScreen *atlas(int regionId) const;
    RegionDrillScreen *drill(int regionId) const;
    MainMenuScreen *menu() const;
    QStringList playedSounds() const;

    void checkReport(int status, const QString &file);
    void checkShown(Action action, int regionId, int entry, const QString &shownText);
    void checkChosen(int regionId, int entry);
    void checkAnswers(int regionId, const QStringList &sounds);
    void checkFinish(int regionId, DrillVerdict verdict);

    // One copy of the data directory for every case: each case breaks one
    // file, and cleanup() puts it back.
    std::unique_ptr<QTemporaryDir> m_data;
    Snapshot m_intact;
    Breakage m_breakage;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScreenHost> m_host;
    std::unique_ptr<ListeningSoundPlayer> m_sound;
    FakeClock m_clock;
    ScriptedRandom m_random;
    std::unique_ptr<ScreenContext> m_context;

    // What the steps saw on the way.
    QList<qint16> m_chosenByRow;
    QList<bool> m_feedbackShown;
    bool m_verdictShown = false;
    QSize m_verdictPictureSize;
    qint16 m_storedRate = -1;
    int m_pointerMoves = 0;
};

bool BadDataTest::copyData()
{
    m_data = std::make_unique<QTemporaryDir>();
    if (!m_data->isValid() || !copyTree(ShippedData, root()))
        return false;
    m_intact = snapshot(root());
    return true;
}

bool BadDataTest::breakCopy(const Breakage &breakage)
{
    m_breakage = breakage;
    return breakData(root(), breakage);
}

void BadDataTest::restoreCopy()
{
    // After a failure anything may be left behind: start from a fresh copy.
    if (QTest::currentTestFailed()) {
        QVERIFY(copyData());
        return;
    }
    if (m_breakage.op == BreakOp::Nothing)
        return;
    const QString path = dataFile(m_breakage.file);
    if (QFileInfo(path).isDir())
        QVERIFY(QDir(path).removeRecursively());
    QVERIFY(writeBytes(path, readBytes(ShippedData + u'/' + m_breakage.file)));
    retake(m_intact, root(), m_breakage.file);
}

void BadDataTest::initTestCase()
{
    QVERIFY(QFileInfo(ShippedData + u"/概要"_s).isDir());
    QVERIFY(copyData());
}

void BadDataTest::init()
{
    m_breakage = intact();
    m_state = std::make_unique<AppState>();
    m_state->DataRoot = root();
    m_host = std::make_unique<ScreenHost>();
    m_sound = std::make_unique<ListeningSoundPlayer>();
    m_clock.now = 1000.0;
    // Questions come in order 1, 2, 3...
    m_random = ScriptedRandom();
    m_context = std::make_unique<ScreenContext>(ScreenContext{*m_state, *m_host, *m_sound, m_clock, m_random});
    m_host->registerScreen(MainMenuScreen::ScreenName, [this] { return new MainMenuScreen(*m_context); });
    m_host->registerScreen(RegionSubmenuScreen::ScreenName,
                           [this] { return new RegionSubmenuScreen(*m_context); });
    registerAtlasScreens(*m_host, *m_context, registerOfficialPageScreen(*m_host, *m_context));
    registerDrillScreens(*m_host, *m_context);

    g_reporter->files.clear();
    g_reporter->messages.clear();
    m_chosenByRow.clear();
    m_feedbackShown.clear();
    m_verdictShown = false;
    m_verdictPictureSize = QSize();
    m_storedRate = -1;
}

void BadDataTest::cleanup()
{
    m_host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_context.reset();
    m_sound.reset();
    m_state.reset();
    restoreCopy();
}

// Runs the steps inside the application's event loop, where the program's
// own events run, up to the first reported error. Returns the status the
// loop ended with.
int BadDataTest::runProgram(const QList<Step> &steps)
{
    QTimer fallback;
    fallback.setSingleShot(true);
    connect(&fallback, &QTimer::timeout, qApp, [] { QCoreApplication::exit(ReportedButRunning); });
    QTimer start;
    start.setSingleShot(true);
    connect(&start, &QTimer::timeout, qApp, [&] {
        for (const Step &step : steps) {
            step();
            if (!g_reporter->files.isEmpty()) {
                // The program has asked to end; should it not have, this ends the loop.
                fallback.start(0);
                return;
            }
        }
        QCoreApplication::exit(StillRunning);
    });
    start.start(0);
    return QCoreApplication::exec();
}

RegionAtlasScreen *BadDataTest::atlas(int regionId) const
{
    return qobject_cast<RegionAtlasScreen *>(
        m_host->loadedScreen(RegionCatalogue::region(regionId).atlasScreenName()));
}

RegionDrillScreen *BadDataTest::drill(int regionId) const
{
    return qobject_cast<RegionDrillScreen *>(
        m_host->loadedScreen(RegionCatalogue::region(regionId).drillScreenName()));
}

MainMenuScreen *BadDataTest::menu() const
{
    return qobject_cast<MainMenuScreen *>(m_host->loadedScreen(MainMenuScreen::ScreenName));
}

QStringList BadDataTest::playedSounds() const
{
    QStringList relative;
    for (const QString &path : m_sound->played)
        relative.append(QDir(root()).relativeFilePath(path));
    return relative;
}

void BadDataTest::moveToBackground(QWidget *window)
{
    // Two bare points in turn: a move to the position of the previous move is dropped.
    QList<QPoint> bare;
    for (int y = window->height() - 3; y > 0 && bare.size() < 2; y -= 5) {
        for (int x = 3; x < window->width() && bare.size() < 2; x += 5) {
            if (!window->childAt(x, y))
                bare.append(QPoint(x, y));
        }
    }
    if (!bare.isEmpty())
        QTest::mouseMove(window, bare.at(m_pointerMoves++ % bare.size()));
}

BadDataTest::Step BadDataTest::showMenu()
{
    return [this] {
        m_host->show(MainMenuScreen::ScreenName);
        MainMenuScreen *screen = menu();
        if (screen && QTest::qWaitForWindowExposed(screen))
            moveToBackground(screen);
    };
}

QList<BadDataTest::Step> BadDataTest::openFromMenu(int regionId, bool drillScreen)
{
    const RegionInfo &region = RegionCatalogue::region(regionId);
    const QString target = drillScreen ? region.drillScreenName() : region.atlasScreenName();
    return {
        showMenu(),
        [this, regionId, drillScreen, target] {
            if (MainMenuScreen *screen = menu())
                QTest::mouseClick(screen->regionButton(regionId - 1), Qt::LeftButton);
            auto *submenu = qobject_cast<RegionSubmenuScreen *>(
                m_host->loadedScreen(RegionSubmenuScreen::ScreenName));
            if (submenu && QTest::qWaitForWindowExposed(submenu))
                QTest::mouseClick(submenu->choiceButton(drillScreen ? 1 : 0), Qt::LeftButton);
            QWidget *opened = m_host->loadedScreen(target);
            if (opened && QTest::qWaitForWindowExposed(opened))
                moveToBackground(opened);
        },
    };
}

BadDataTest::Step BadDataTest::chooseRow(int regionId, int row)
{
    return [this, regionId, row] {
        RegionAtlasScreen *screen = atlas(regionId);
        if (!screen)
            return;
        // The arrow key moves on from the row above and chooses.
        EntrySelector *selector = screen->selector();
        selector->setCurrentIndex(row - 1);
        selector->setFocus();
        QTest::keyClick(selector, Qt::Key_Down);
    };
}

BadDataTest::Step BadDataTest::chooseByList(int regionId, int entry)
{
    return [this, regionId, entry] {
        const int n = RegionCatalogue::region(regionId).countryCount;
        for (int row = 0; row < n; ++row) {
            if (m_state->ListToCountry[row + 1] == entry) {
                chooseRow(regionId, row)();
                return;
            }
        }
    };
}

BadDataTest::Step BadDataTest::chooseByMarker(int regionId, int entry)
{
    return [this, regionId, entry] {
        if (RegionAtlasScreen *screen = atlas(regionId))
            QTest::mouseClick(screen->map()->marker(entry - 1), Qt::LeftButton, {}, QPoint(1, 1));
    };
}

BadDataTest::Step BadDataTest::pointAtFlag(int regionId)
{
    return [this, regionId] {
        if (RegionAtlasScreen *screen = atlas(regionId)) {
            moveToBackground(screen);
            QTest::mouseMove(screen, centreIn(screen, screen->flag()));
        }
    };
}

BadDataTest::Step BadDataTest::answer(int regionId, bool right)
{
    return [this, regionId, right] {
        RegionDrillScreen *screen = drill(regionId);
        if (!screen)
            return;
        const int asked = screen->run().currentQuestion;
        const int clicked = right ? asked : asked % screen->run().questionCount + 1;
        QTest::mouseClick(screen->mapView()->marker(clicked - 1), Qt::LeftButton, {}, QPoint(1, 1));
        m_feedbackShown.append(screen->feedbackPicture()->isVisible());
    };
}

BadDataTest::Step BadDataTest::endPause(int regionId)
{
    return [this, regionId] {
        RegionDrillScreen *screen = drill(regionId);
        const QPointer<QTimer> timer = screen ? screen->findChild<QTimer *>(u"Timer1"_s) : nullptr;
        if (!timer || !timer->isActive())
            return;
        // The pause is over by the clock; the timer's next tick ends it. Meanwhile
        // the program's other events run, the loading of sounds among them.
        m_clock.now += 3.0;
        (void)QTest::qWaitFor([&] { return !timer || !timer->isActive(); }, 5000);
    };
}

BadDataTest::Step BadDataTest::noteVerdict(int regionId, DrillVerdict verdict)
{
    return [this, regionId, verdict] {
        RegionDrillScreen *screen = drill(regionId);
        if (!screen)
            return;
        m_verdictShown = verdict == DrillVerdict::Fail ? screen->failNotice()->isVisible()
                                                       : screen->feedbackPicture()->isVisible();
        m_verdictPictureSize = screen->feedbackPicture()->image().size();
        m_storedRate = m_state->AccuracyRates[regionId];
    };
}

BadDataTest::Step BadDataTest::restart(int regionId)
{
    return [this, regionId] {
        RegionDrillScreen *screen = drill(regionId);
        if (!screen)
            return;
        // The title plate brings up 再スタート.
        moveToBackground(screen);
        QTest::mouseMove(screen, centreIn(screen, screen->titlePlate()));
        QTest::mouseClick(screen->restartButton(), Qt::LeftButton);
    };
}

QList<BadDataTest::Step> BadDataTest::stepsFor(Action action, int regionId, int entry)
{
    const int n = RegionCatalogue::region(regionId).countryCount;
    const int other = entry % n + 1;
    QList<Step> steps;
    switch (action) {
    case Action::OpenAtlas:
        return openFromMenu(regionId, false);
    case Action::ChooseByList:
        return openFromMenu(regionId, false) << chooseByMarker(regionId, other) << chooseByList(regionId, entry);
    case Action::ChooseByMarker:
        return openFromMenu(regionId, false) << chooseByList(regionId, other) << chooseByMarker(regionId, entry);
    case Action::ShowOrigin:
        return openFromMenu(regionId, false) << chooseByMarker(regionId, entry) << pointAtFlag(regionId);
    case Action::ChooseByListWithOriginShown:
        return openFromMenu(regionId, false) << chooseByMarker(regionId, other) << pointAtFlag(regionId)
                                             << chooseByList(regionId, entry);
    case Action::ChooseEveryRow:
        steps = openFromMenu(regionId, false);
        for (int row = 0; row < n; ++row) {
            steps << chooseRow(regionId, row) << [this] { m_chosenByRow.append(m_state->CurrentCountry); };
        }
        return steps << chooseByMarker(regionId, entry);
    case Action::OpenDrill:
        return openFromMenu(regionId, true);
    case Action::RightThenWrong:
    case Action::WrongThenRight: {
        const bool rightFirst = action == Action::RightThenWrong;
        return openFromMenu(regionId, true) << answer(regionId, rightFirst) << endPause(regionId)
                                            << answer(regionId, !rightFirst) << endPause(regionId);
    }
    case Action::FinishGold:
    case Action::FinishSilver:
    case Action::FinishCopper:
    case Action::FinishFail: {
        const DrillVerdict verdict = action == Action::FinishGold     ? DrillVerdict::Gold
                                     : action == Action::FinishSilver ? DrillVerdict::Silver
                                     : action == Action::FinishCopper ? DrillVerdict::Copper
                                                                      : DrillVerdict::Fail;
        const int right = rightAnswersFor(verdict, n);
        steps = openFromMenu(regionId, true);
        for (int i = 0; i < n; ++i)
            steps << answer(regionId, i < right) << endPause(regionId);
        // A new run after the verdict plays a sound again.
        return steps << noteVerdict(regionId, verdict) << restart(regionId) << answer(regionId, true)
                     << endPause(regionId);
    }
    case Action::MenuFlagText:
        return {showMenu(), [this, entry] {
                    if (MainMenuScreen *screen = menu())
                        QTest::mouseClick(screen->flagPicture(entry - 1), Qt::LeftButton);
                }};
    }
    return steps;
}

void BadDataTest::checkReport(int status, const QString &file)
{
    QCOMPARE(g_reporter->files, QStringList{file});
    QCOMPARE(status, EXIT_FAILURE);
    const QString message = g_reporter->messages.first();
    QVERIFY2(message.contains(u'「' + file + u'」'), qPrintable(message));
    // A Japanese description of what is wrong follows the file's name.
    const QString description = message.section(u'\n', 1);
    QVERIFY2(std::any_of(description.cbegin(), description.cend(),
                         [](QChar c) { return c.unicode() >= 0x3040 && c.unicode() <= 0x30ff; }),
             qPrintable(message));
}

void BadDataTest::checkChosen(int regionId, int entry)
{
    const RegionInfo &region = RegionCatalogue::region(regionId);
    const QString r = region.regionName();
    RegionAtlasScreen *screen = atlas(regionId);
    QVERIFY(screen);
    QCOMPARE(m_state->CurrentCountry, entry);
    QVERIFY(screen->map()->surface() != screen->map()->pristineMap());
    QVERIFY(screen->flag()->isVisible());
    QCOMPARE(screen->flag()->size(), screen->flag()->image().size());
    QCOMPARE(comparable(screen->flag()->image()),
             comparable(QImage(dataFile(u"国旗/%1/h%2.gif"_s.arg(r).arg(entry)))));
    QVERIFY(screen->overviewList()->isVisible());
    QCOMPARE(rowsOf(screen->overviewList()), shownRows(dataFile(u"概要/%1/s%2.txt"_s.arg(r).arg(entry))));
}

void BadDataTest::checkAnswers(int regionId, const QStringList &sounds)
{
    RegionDrillScreen *screen = drill(regionId);
    QVERIFY(screen);
    const int n = screen->run().questionCount;
    QCOMPARE(m_feedbackShown, (QList<bool>{true, true}));
    QCOMPARE(playedSounds(), sounds);
    // The third question is asked.
    QCOMPARE(screen->run().askedCount, qint16(3));
    QCOMPARE(screen->remainingLabel()->text(), QString::number(n - 2));
    QCOMPARE(screen->questionLabel()->text(), m_state->CountryNames[screen->run().currentQuestion]);
    QCOMPARE(screen->accuracyLabel()->text(), u"50"_s);
}

void BadDataTest::checkFinish(int regionId, DrillVerdict verdict)
{
    RegionDrillScreen *screen = drill(regionId);
    QVERIFY(screen);
    const int n = screen->run().questionCount;
    QVERIFY(m_verdictShown);
    QCOMPARE(m_storedRate, DrillRules::accuracyPercent(rightAnswersFor(verdict, n), n));
    if (verdict != DrillVerdict::Fail)
        QCOMPARE(m_verdictPictureSize, QImage(dataFile(DrillRules::medalPicture(verdict).mid(1).replace(u'\\', u'/'))).size());
    const QStringList played = playedSounds();
    QCOMPARE(played.size(), n + 2);
    QCOMPARE(played.at(n), DrillRules::verdictSound(verdict).mid(1).replace(u'\\', u'/'));
    // The new run goes on to its second question.
    QCOMPARE(played.last(), u"音/o.wav"_s);
    QCOMPARE(screen->run().askedCount, qint16(2));
    QCOMPARE(screen->accuracyLabel()->text(), u"100"_s);
    QCOMPARE(screen->remainingLabel()->text(), QString::number(n - 1));
}

void BadDataTest::checkShown(Action action, int regionId, int entry, const QString &shownText)
{
    const RegionInfo &region = RegionCatalogue::region(regionId);
    const QString r = region.regionName();
    const int n = region.countryCount;
    const QString origin = dataFile(u"国旗/%1/由来/y%2.txt"_s.arg(r).arg(entry));
    const QStringList names = recordNames(dataFile(u"概要/%1/kuni.txt"_s.arg(r)), n);

    switch (action) {
    case Action::OpenAtlas: {
        RegionAtlasScreen *screen = atlas(regionId);
        QVERIFY(screen);
        QVERIFY(screen->isVisible());
        QCOMPARE(screen->selector()->count(), n);
        for (int row = 0; row < n; ++row)
            QCOMPARE(screen->selector()->itemText(row), m_state->ListNames[row + 1]);
        for (int k = 1; k <= n; ++k) {
            QCOMPARE(m_state->CountryNames[k], names.at(k - 1));
            QCOMPARE(screen->map()->marker(k - 1)->toolTip(), names.at(k - 1));
            QVERIFY(!m_state->PageTable[k][2].isEmpty());
        }
        QVERIFY(shownText.isEmpty() || anyContains(rowsOf(screen->selector()), shownText));
        return;
    }
    case Action::ChooseByList:
    case Action::ChooseByMarker:
        checkChosen(regionId, entry);
        if (!QTest::currentTestFailed())
            QVERIFY(shownText.isEmpty() || anyContains(rowsOf(atlas(regionId)->overviewList()), shownText));
        return;
    case Action::ShowOrigin:
    case Action::ChooseByListWithOriginShown: {
        checkChosen(regionId, entry);
        if (QTest::currentTestFailed())
            return;
        RegionAtlasScreen *screen = atlas(regionId);
        QVERIFY(screen->originFrame()->isVisible());
        QCOMPARE(rowsOf(screen->originList()), shownRows(origin));
        QVERIFY(shownText.isEmpty() || anyContains(rowsOf(screen->originList()), shownText));
        return;
    }
    case Action::ChooseEveryRow: {
        QCOMPARE(m_chosenByRow.size(), n);
        // A row with an entry chooses it; a row that no record names changes nothing.
        std::set<int> reached;
        qint16 previous = 0;
        for (int row = 0; row < n; ++row) {
            const qint16 listed = m_state->ListToCountry[row + 1];
            const bool named = listed >= 1 && listed <= n;
            QCOMPARE(m_chosenByRow.at(row), named ? listed : previous);
            if (named)
                reached.insert(listed);
            previous = m_chosenByRow.at(row);
        }
        // An entry no row shows is still there on its marker.
        RegionAtlasScreen *screen = atlas(regionId);
        QVERIFY(screen);
        for (int k = 1; k <= n; ++k) {
            if (!reached.contains(k))
                QCOMPARE(screen->selector()->findText(names.at(k - 1), Qt::MatchExactly), -1);
        }
        reached.insert(entry);
        QCOMPARE(int(reached.size()), n);
        checkChosen(regionId, entry);
        QVERIFY(shownText.isEmpty() || anyContains(rowsOf(screen->selector()), shownText));
        return;
    }
    case Action::OpenDrill: {
        RegionDrillScreen *screen = drill(regionId);
        QVERIFY(screen);
        QVERIFY(screen->isVisible());
        for (int k = 1; k <= n; ++k)
            QCOMPARE(m_state->CountryNames[k], u' ' + names.at(k - 1) + u"はどこ？ "_s);
        QCOMPARE(screen->questionLabel()->text(), m_state->CountryNames[screen->run().currentQuestion]);
        QCOMPARE(screen->remainingLabel()->text(), QString::number(n));
        QVERIFY(shownText.isEmpty() || screen->questionLabel()->text().contains(shownText));
        return;
    }
    case Action::RightThenWrong:
        checkAnswers(regionId, {u"音/o.wav"_s, u"音/x.wav"_s});
        return;
    case Action::WrongThenRight:
        checkAnswers(regionId, {u"音/x.wav"_s, u"音/o.wav"_s});
        return;
    case Action::FinishGold:
        checkFinish(regionId, DrillVerdict::Gold);
        return;
    case Action::FinishSilver:
        checkFinish(regionId, DrillVerdict::Silver);
        return;
    case Action::FinishCopper:
        checkFinish(regionId, DrillVerdict::Copper);
        return;
    case Action::FinishFail:
        checkFinish(regionId, DrillVerdict::Fail);
        return;
    case Action::MenuFlagText: {
        MainMenuScreen *screen = menu();
        QVERIFY(screen);
        QVERIFY(screen->flagTextList()->isVisible());
        const QStringList rows = rowsOf(screen->flagTextList());
        QCOMPARE(rows, shownRows(dataFile(u"国旗/h%1.txt"_s.arg(entry))));
        QVERIFY(shownText.isEmpty() || anyContains(rows, shownText));
        return;
    }
    }
}

void BadDataTest::oneBrokenFile_data()
{
    QTest::addColumn<int>("regionId");
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("entry");
    QTest::addColumn<Expectation>("expected");

    const auto add = [](const char *name, int regionId, const Breakage &breakage, Action action, int entry,
                        const Expectation &expected) {
        QTest::newRow(name) << regionId << breakage << action << entry << expected;
    };
    using A = Action;

    const QString nisList = u"概要/ＮＩＳ諸国/kuni.txt"_s;
    const QString nisPages = u"外務省/ＮＩＳ諸国/url.txt"_s;
    const QString nisOverview3 = u"概要/ＮＩＳ諸国/s3.txt"_s;
    const QString nisFlag3 = u"国旗/ＮＩＳ諸国/h3.gif"_s;
    const QString nisOrigin3 = u"国旗/ＮＩＳ諸国/由来/y3.txt"_s;
    const QString drillList = u"概要/南アメリカ/kuni.txt"_s;
    const QByteArray notAPicture = "GIF? no, this is text.\r\n";
    const QByteArray notAWave = "RIFF? no, this is text.\r\n";
    const QByteArray undefinedByte = "\xfd";  // no character of code page 932
    const QByteArray loneLeadByte = "\x82";   // the first half of a character, before the line end

    // The unbroken copy: every action shows what it should.
    add("intact: open atlas", Nis, intact(), A::OpenAtlas, 0, shows());
    add("intact: choose by list", Nis, intact(), A::ChooseByList, 3, shows());
    add("intact: choose by marker", Asia, intact(), A::ChooseByMarker, 10, shows());
    add("intact: flag origin", Nis, intact(), A::ShowOrigin, 3, shows());
    add("intact: list choice with origin shown", Nis, intact(), A::ChooseByListWithOriginShown, 3, shows());
    add("intact: every row", Nis, intact(), A::ChooseEveryRow, 3, shows());
    add("intact: open drill", SouthAmerica, intact(), A::OpenDrill, 0, shows());
    add("intact: right, wrong", SouthAmerica, intact(), A::RightThenWrong, 0, shows());
    add("intact: wrong, right", SouthAmerica, intact(), A::WrongThenRight, 0, shows());
    add("intact: gold", SouthAmerica, intact(), A::FinishGold, 0, shows());
    add("intact: silver", SouthAmerica, intact(), A::FinishSilver, 0, shows());
    add("intact: copper", SouthAmerica, intact(), A::FinishCopper, 0, shows());
    add("intact: fail", SouthAmerica, intact(), A::FinishFail, 0, shows());
    add("intact: menu flag text", Asia, intact(), A::MenuFlagText, 1, shows());

    // A missing file.
    add("missing kuni.txt: atlas", Nis, removed(nisList), A::OpenAtlas, 0, reported(nisList));
    add("missing kuni.txt: drill", SouthAmerica, removed(drillList), A::OpenDrill, 0, reported(drillList));
    add("missing url.txt", Nis, removed(nisPages), A::OpenAtlas, 0, reported(nisPages));
    add("missing s3.txt: list", Nis, removed(nisOverview3), A::ChooseByList, 3, reported(nisOverview3));
    add("missing s10.txt: marker", Asia, removed(u"概要/アジア/s10.txt"_s), A::ChooseByMarker, 10,
        reported(u"概要/アジア/s10.txt"_s));
    add("missing h3.gif: list", Nis, removed(nisFlag3), A::ChooseByList, 3, reported(nisFlag3));
    add("missing h10.gif: marker", Asia, removed(u"国旗/アジア/h10.gif"_s), A::ChooseByMarker, 10,
        reported(u"国旗/アジア/h10.gif"_s));
    add("missing y3.txt: flag origin", Nis, removed(nisOrigin3), A::ShowOrigin, 3, reported(nisOrigin3));
    add("missing y3.txt: list choice with origin shown", Nis, removed(nisOrigin3),
        A::ChooseByListWithOriginShown, 3, reported(nisOrigin3));
    add("missing o.wav", SouthAmerica, removed(u"音/o.wav"_s), A::RightThenWrong, 0, shows());
    add("missing x.wav", SouthAmerica, removed(u"音/x.wav"_s), A::WrongThenRight, 0, shows());
    add("missing gokaku.wav", SouthAmerica, removed(u"音/gokaku.wav"_s), A::FinishGold, 0, shows());
    add("missing dame.wav", SouthAmerica, removed(u"音/dame.wav"_s), A::FinishFail, 0, shows());
    add("missing maru.gif", SouthAmerica, removed(u"画像/maru.gif"_s), A::RightThenWrong, 0,
        reported(u"画像/maru.gif"_s));
    add("missing batu.gif", SouthAmerica, removed(u"画像/batu.gif"_s), A::WrongThenRight, 0,
        reported(u"画像/batu.gif"_s));
    add("missing gold.gif", SouthAmerica, removed(u"画像/gold.gif"_s), A::FinishGold, 0,
        reported(u"画像/gold.gif"_s));
    add("missing silver.gif", SouthAmerica, removed(u"画像/silver.gif"_s), A::FinishSilver, 0,
        reported(u"画像/silver.gif"_s));
    add("missing copper.gif", SouthAmerica, removed(u"画像/copper.gif"_s), A::FinishCopper, 0,
        reported(u"画像/copper.gif"_s));
    add("missing h1.txt", Asia, removed(u"国旗/h1.txt"_s), A::MenuFlagText, 1, reported(u"国旗/h1.txt"_s));
    add("missing h2.txt", Asia, removed(u"国旗/h2.txt"_s), A::MenuFlagText, 2, reported(u"国旗/h2.txt"_s));
    add("missing h3.txt", Asia, removed(u"国旗/h3.txt"_s), A::MenuFlagText, 3, reported(u"国旗/h3.txt"_s));
    add("s3.txt is a folder", Nis, madeFolder(nisOverview3), A::ChooseByList, 3, reported(nisOverview3));

    // Too few records.
    add("kuni.txt one record short: atlas", Nis, keptLines(nisList, 11), A::OpenAtlas, 0, reported(nisList));
    add("kuni.txt one record short: drill", SouthAmerica, keptLines(drillList, 11), A::OpenDrill, 0,
        reported(drillList));
    add("kuni.txt empty", Nis, replaced(nisList, {}), A::OpenAtlas, 0, reported(nisList));
    add("url.txt one record short", Nis, keptLines(nisPages, 11), A::OpenAtlas, 0, reported(nisPages));
    add("url.txt last address missing", Nis, lineReplaced(nisPages, 12, cp932(u"ロシア"_s)), A::OpenAtlas, 0,
        reported(nisPages));

    // List positions. Record 5 of ＮＩＳ諸国 stands at position 5.
    add("list position 61", Nis, lineReplaced(nisList, 5, cp932(u"カザフスタン,61"_s)), A::OpenAtlas, 0,
        reported(nisList));
    add("list position -1", Nis, lineReplaced(nisList, 5, cp932(u"カザフスタン,-1"_s)), A::OpenAtlas, 0,
        reported(nisList));
    add("list position x", Nis, lineReplaced(nisList, 5, cp932(u"カザフスタン,x"_s)), A::OpenAtlas, 0,
        reported(nisList));
    add("list position 3.5", Nis, lineReplaced(nisList, 5, cp932(u"カザフスタン,3.5"_s)), A::OpenAtlas, 0,
        reported(nisList));
    add("list position empty", Nis, lineReplaced(nisList, 5, cp932(u"カザフスタン,"_s)), A::OpenAtlas, 0,
        reported(nisList));
    add("list position 0: every row", Nis, lineReplaced(nisList, 5, cp932(u"カザフスタン,0"_s)),
        A::ChooseEveryRow, 5, shows());
    // The drill reads the list position and does not use it.
    add("list position 61: drill", SouthAmerica, lineReplaced(drillList, 1, cp932(u"アルゼンチン,61"_s)),
        A::OpenDrill, 0, shows());
    add("list position x: drill", SouthAmerica, lineReplaced(drillList, 1, cp932(u"アルゼンチン,x"_s)),
        A::OpenDrill, 0, shows());

    // Bytes that are no code page 932 character.
    add("invalid bytes in kuni.txt: atlas", Nis, linePrefixed(nisList, 1, undefinedByte), A::ChooseEveryRow, 1,
        shows(Replacement));
    add("invalid bytes in kuni.txt: drill", SouthAmerica, linePrefixed(drillList, 1, undefinedByte),
        A::OpenDrill, 0, shows(Replacement));
    add("invalid bytes in an overview: lone lead byte", Nis, lineSuffixed(nisOverview3, 1, loneLeadByte),
        A::ChooseByList, 3, shows(Replacement));
    add("invalid bytes in an overview: undefined byte", Asia, linePrefixed(u"概要/アジア/s10.txt"_s, 1, undefinedByte),
        A::ChooseByMarker, 10, shows(Replacement));
    add("invalid bytes in a flag origin", Nis, linePrefixed(nisOrigin3, 1, undefinedByte), A::ShowOrigin, 3,
        shows(Replacement));
    add("invalid bytes in a menu flag text", Asia, lineSuffixed(u"国旗/h2.txt"_s, 1, loneLeadByte),
        A::MenuFlagText, 2, shows(Replacement));

    // Empty texts: the list box is cleared and stays empty.
    add("empty overview", Nis, replaced(nisOverview3, {}), A::ChooseByList, 3, shows());
    add("overview of one empty line", Nis, replaced(nisOverview3, "\r\n"), A::ChooseByMarker, 3, shows());
    add("empty flag origin", Nis, replaced(nisOrigin3, {}), A::ChooseByListWithOriginShown, 3, shows());
    add("empty menu flag text", Asia, replaced(u"国旗/h3.txt"_s, {}), A::MenuFlagText, 3, shows());

    // Flag and feedback pictures. A picture that Qt reads by its content shows;
    // one cut short, which Qt would show half blank, is reported.
    add("flag is text", Nis, replaced(nisFlag3, notAPicture), A::ChooseByList, 3, reported(nisFlag3));
    add("flag is empty", Nis, replaced(nisFlag3, {}), A::ChooseByMarker, 3, reported(nisFlag3));
    add("flag cut in its header", Nis, keptBytes(nisFlag3, 10), A::ChooseByList, 3, reported(nisFlag3));
    add("flag cut in half", Nis, cutInHalf(nisFlag3), A::ChooseByList, 3, reported(nisFlag3));
    add("flag without its last 10 bytes", Nis, tailDropped(nisFlag3, 10), A::ChooseByMarker, 3,
        reported(nisFlag3));
    add("flag without its trailer byte", Nis, tailDropped(nisFlag3, 1), A::ChooseByList, 3, shows());
    add("flag is a PNG", Nis, replaced(nisFlag3, pictureBytes(QSize(90, 60), Qt::darkCyan)), A::ChooseByMarker, 3,
        shows());
    add("maru.gif is text", SouthAmerica, replaced(u"画像/maru.gif"_s, notAPicture), A::RightThenWrong, 0,
        reported(u"画像/maru.gif"_s));
    add("batu.gif cut in half", SouthAmerica, cutInHalf(u"画像/batu.gif"_s), A::WrongThenRight, 0,
        reported(u"画像/batu.gif"_s));
    add("silver.gif cut in half", SouthAmerica, cutInHalf(u"画像/silver.gif"_s), A::FinishSilver, 0,
        reported(u"画像/silver.gif"_s));

    // Sounds that are no WAV: silent, and the drill goes on.
    add("o.wav is text", SouthAmerica, replaced(u"音/o.wav"_s, notAWave), A::RightThenWrong, 0, shows());
    add("x.wav is text", SouthAmerica, replaced(u"音/x.wav"_s, notAWave), A::WrongThenRight, 0, shows());
    add("gokaku.wav is text", SouthAmerica, replaced(u"音/gokaku.wav"_s, notAWave), A::FinishGold, 0, shows());
    add("dame.wav is text", SouthAmerica, replaced(u"音/dame.wav"_s, notAWave), A::FinishFail, 0, shows());
    add("o.wav cut in half", SouthAmerica, cutInHalf(u"音/o.wav"_s), A::RightThenWrong, 0, shows());
    add("x.wav cut in half", SouthAmerica, cutInHalf(u"音/x.wav"_s), A::WrongThenRight, 0, shows());
    add("gokaku.wav cut in half", SouthAmerica, cutInHalf(u"音/gokaku.wav"_s), A::FinishGold, 0, shows());
    add("dame.wav header only", SouthAmerica, keptBytes(u"音/dame.wav"_s, 44), A::FinishFail, 0, shows());

    // One line of 10 MB: shown cut, ending in an ellipsis.
    const QByteArray hugeLine = tenMegabyteLine();
    add("10 MB overview line", Nis, replaced(nisOverview3, hugeLine), A::ChooseByList, 3, shows(Ellipsis));
    add("10 MB flag origin line", Nis, replaced(nisOrigin3, hugeLine), A::ShowOrigin, 3, shows(Ellipsis));
    add("10 MB menu flag text line", Asia, replaced(u"国旗/h1.txt"_s, hugeLine), A::MenuFlagText, 1,
        shows(Ellipsis));
}

void BadDataTest::oneBrokenFile()
{
    QFETCH(int, regionId);
    QFETCH(Breakage, breakage);
    QFETCH(Action, action);
    QFETCH(int, entry);
    QFETCH(Expectation, expected);

    QVERIFY2(breakCopy(breakage), qPrintable(breakage.file));
    Snapshot before = m_intact;
    retake(before, root(), breakage.file);

    const int status = runProgram(stepsFor(action, regionId, entry));

    // Nothing in the data directory was created, removed or changed.
    const Snapshot after = snapshot(root());
    QCOMPARE(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(after.value(it.key()), it.value());

    if (expected.outcome == Outcome::Reported) {
        checkReport(status, expected.namedFile);
        return;
    }
    QCOMPARE(g_reporter->messages, QStringList());
    QCOMPARE(status, StillRunning);
    checkShown(action, regionId, entry, expected.shownText);
}

void BadDataTest::playableSounds_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<bool>("playable");

    for (const char *name : {"o.wav", "x.wav", "gokaku.wav", "dame.wav"})
        QTest::newRow(name) << u"音/"_s + QLatin1String(name) << intact() << true;

    const QString pass = u"音/gokaku.wav"_s;
    const QByteArray wave = readBytes(ShippedData + u'/' + pass);
    QVERIFY(wave.mid(12, 4) == "fmt " && wave.mid(36, 4) == "data");
    const auto withChunk = [&](const QByteArray &chunk) { return wave.left(36) + chunk + wave.mid(36); };
    const auto add = [&](const char *name, const Breakage &breakage, bool playable) {
        QTest::newRow(name) << pass << breakage << playable;
    };
    add("another chunk before the sound", replaced(pass, withChunk(QByteArray("LIST\4\0\0\0abcd", 12))), true);
    add("missing", removed(pass), false);
    add("a folder", madeFolder(pass), false);
    add("empty", replaced(pass, {}), false);
    add("text", replaced(pass, "RIFF? no, this is text.\r\n"), false);
    add("RIFF header only", keptBytes(pass, 12), false);
    add("cut in the format chunk", keptBytes(pass, 30), false);
    add("header without sound", keptBytes(pass, 44), false);
    add("cut in half", cutInHalf(pass), false);
    add("one byte short", tailDropped(pass, 1), false);
    // Qt reads the next chunk one byte early, and then waits for ever.
    add("chunk of odd length before the sound", replaced(pass, withChunk(QByteArray("LIST\3\0\0\0abc\0", 12))),
        false);
    // Qt takes the sound to run from byte 44 to the end of the file.
    add("sound of no stated length", replaced(pass, wave.left(40) + QByteArray(4, '\0') + wave.mid(44)), false);
    add("sound before its format", replaced(pass, wave.left(12) + wave.mid(36) + wave.mid(12, 24)), false);
}

void BadDataTest::playableSounds()
{
    QFETCH(QString, file);
    QFETCH(Breakage, breakage);
    QFETCH(bool, playable);
    QVERIFY(breakCopy(breakage));
    QCOMPARE(SoundEffectPlayer::isPlayable(dataFile(file)), playable);
}

void BadDataTest::longLinesAreCut_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("shownLength");
    QTest::addColumn<bool>("cut");
    QTest::newRow("one short of the limit") << int(MaxShownLineLength - 1) << int(MaxShownLineLength - 1) << false;
    QTest::newRow("at the limit") << int(MaxShownLineLength) << int(MaxShownLineLength) << false;
    QTest::newRow("one over the limit") << int(MaxShownLineLength + 1) << int(MaxShownLineLength) << true;
    QTest::newRow("ten times the limit") << int(10 * MaxShownLineLength) << int(MaxShownLineLength) << true;
}

void BadDataTest::longLinesAreCut()
{
    QFETCH(int, length);
    QFETCH(int, shownLength);
    QFETCH(bool, cut);
    const QString file = u"概要/ＮＩＳ諸国/s3.txt"_s;
    const QString line = QString(length, QChar(u'国'));
    QVERIFY(breakCopy(replaced(file, cp932(u"前\r\n"_s + line + u"\r\n後\r\n"_s))));
    const QStringList shown = ReadShownLines(DataPath(root(), u"\\"_s + QString(file).replace(u'/', u'\\')));
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.at(0), u"前"_s);
    QCOMPARE(shown.at(2), u"後"_s);
    QCOMPARE(shown.at(1).size(), shownLength);
    QCOMPARE(shown.at(1).endsWith(Ellipsis), cut);
    QVERIFY(line.startsWith(cut ? shown.at(1).chopped(1) : shown.at(1)));
}

int main(int argc, char *argv[])
{
    keepLibrariesFromWriting();
    RecordingReporter reporter;
    g_reporter = &reporter;
    Application app(argc, argv, reporter);
    app.setQuitOnLastWindowClosed(false);
    Fonts::installSubstitutions();
    BadDataTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_baddata.moc"
