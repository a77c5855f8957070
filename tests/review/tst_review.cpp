// The review spaced over days: the Leitner schedule over many simulated
// days through the session plan, the record's format and what makes one
// untrustworthy, and a bad or unwritable record kept safe.

#include "RegionCatalogue.h"
#include "ReviewPlan.h"
#include "ReviewRecord.h"
#include "ReviewSchedule.h"
#include "ReviewStore.h"
#include "TestSeams.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <map>

using namespace Qt::StringLiterals;

namespace {

const QDate Start(2026, 12, 7);

// Every entry of the eight regions, named by number, every third without a capital.
QList<ReviewEntry> allEntries()
{
    QList<ReviewEntry> entries;
    for (const RegionInfo &region : RegionCatalogue::all())
        for (int country = 1; country <= region.countryCount; ++country)
            entries.append({region.id, qint16(country),
                            ReviewRecord::keyOf(region.regionName(), u"国%1"_s.arg(country)), country % 3 != 0});
    return entries;
}

QSet<QString> keysOf(const QList<ReviewEntry> &entries)
{
    QSet<QString> keys;
    for (const ReviewEntry &entry : entries)
        keys.insert(entry.key);
    return keys;
}

// Values spread over [0, 1) by the golden ratio, so that every kind and order turns up.
class SpreadRandom : public RandomSource
{
public:
    void reseed() override {}
    double next() override
    {
        m_value += 0.6180339887498949;
        m_value -= std::floor(m_value);
        return m_value;
    }

private:
    double m_value = 0.0;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ReviewTest : public QObject
{
    Q_OBJECT

private slots:
    void threeDaysAskWhatTheScheduleSays();
    void manySimulatedDays_data();
    void manySimulatedDays();
    void untrustworthyRecords_data();
    void untrustworthyRecords();
    void badRecordIsKeptAside_data();
    void badRecordIsKeptAside();
    void unwritableRecordIsNeverWrittenOver();
};

void ReviewTest::threeDaysAskWhatTheScheduleSays()
{
    const QList<ReviewEntry> entries = allEntries();
    ScriptedRandom random;
    ReviewRecord record;

    // Day 1, nothing asked before: ten new entries of the start region (ヨーロッパ).
    QList<ReviewQuestion> day1 = ReviewPlan::plan(record, entries, Start, 5, random);
    QCOMPARE(day1.size(), ReviewPlan::FewestQuestions);
    QList<std::pair<QString, bool>> answers;
    QStringList missed, right;
    for (int i = 0; i < day1.size(); ++i) {
        QCOMPARE(day1[i].entry.regionId, qint16(5));
        QCOMPARE(day1[i].kind, ReviewQuestionKind::Location);
        answers.append({day1[i].entry.key, i % 3 != 0});
        (i % 3 != 0 ? right : missed).append(day1[i].entry.key);
    }
    record.recordSession(answers, Start);

    // Day 2: the four misses are due, six new entries fill up to ten.
    QList<ReviewQuestion> day2 = ReviewPlan::plan(record, entries, Start.addDays(1), 5, random);
    QCOMPARE(day2.size(), ReviewPlan::FewestQuestions);
    QStringList due2;
    for (int i = 0; i < 4; ++i)
        due2.append(day2[i].entry.key);
    QCOMPARE(QSet<QString>(due2.begin(), due2.end()), QSet<QString>(missed.begin(), missed.end()));
    for (int i = 4; i < day2.size(); ++i)
        QVERIFY(!record.state(day2[i].entry.key));
    QList<std::pair<QString, bool>> allRight;
    for (const ReviewQuestion &question : std::as_const(day2))
        allRight.append({question.entry.key, true});
    record.recordSession(allRight, Start.addDays(1));

    // Day 3: the six right on day 1 (box 2, two days) are due, day 2's not.
    QList<ReviewQuestion> day3 = ReviewPlan::plan(record, entries, Start.addDays(2), 5, random);
    QStringList due3;
    for (const ReviewQuestion &question : std::as_const(day3))
        if (record.state(question.entry.key))
            due3.append(question.entry.key);
    QCOMPARE(QSet<QString>(due3.begin(), due3.end()), QSet<QString>(right.begin(), right.end()));
    QCOMPARE(record.dueCount(Start.addDays(2), keysOf(entries)), 6);
    QCOMPARE(record.state(missed.first())->box, qint16(2));
    QCOMPARE(record.state(missed.first())->due, Start.addDays(3));
    QCOMPARE(record.practiceDays(), (QList<QDate>{Start, Start.addDays(1)}));
}

void ReviewTest::manySimulatedDays_data()
{
    QTest::addColumn<int>("everyDays");
    QTest::addColumn<int>("missOneIn");
    QTest::addColumn<int>("startRegion");
    QTest::newRow("every day, one miss in 4") << 1 << 4 << 1;
    QTest::newRow("every other day, one miss in 3") << 2 << 3 << 4;
    QTest::newRow("twice a week, never a miss") << 3 << 0 << 8;
    QTest::newRow("every day, every answer wrong") << 1 << 1 << 6;
}

void ReviewTest::manySimulatedDays()
{
    QFETCH(int, everyDays);
    QFETCH(int, missOneIn);
    QFETCH(int, startRegion);
    const QList<ReviewEntry> entries = allEntries();
    SpreadRandom random;
    ReviewRecord record;
    std::map<QString, int> answered;
    std::map<ReviewQuestionKind, int> kinds;
    for (int day = 0; day < 120; day += everyDays) {
        const QDate today = Start.addDays(day);
        const int dueBefore = record.dueCount(today, keysOf(entries));
        const QList<ReviewQuestion> questions = ReviewPlan::plan(record, entries, today, startRegion, random);
        QCOMPARE(int(questions.size()), std::max(std::min(dueBefore, ReviewPlan::MostDue), ReviewPlan::FewestQuestions));
        QList<std::pair<QString, bool>> answers;
        QDate previousDue;
        QSet<QString> asked;
        for (const ReviewQuestion &question : questions) {
            const ReviewState *state = record.state(question.entry.key);
            QVERIFY2(!asked.contains(question.entry.key), "an entry asked twice in one plan");
            asked.insert(question.entry.key);
            if (state) {
                // Only due entries, longest overdue first; the others only when fewer are due.
                QVERIFY(Leitner::isDue(*state, today));
                QVERIFY(!previousDue.isValid() || previousDue <= state->due);
                previousDue = state->due;
                if (state->box < ReviewPlan::BoxForOtherKinds)
                    QCOMPARE(question.kind, ReviewQuestionKind::Location);
            } else {
                QVERIFY(dueBefore < ReviewPlan::FewestQuestions);
                QCOMPARE(question.kind, ReviewQuestionKind::Location);
            }
            if (question.kind == ReviewQuestionKind::Capital)
                QVERIFY(question.entry.hasCapital);
            ++kinds[question.kind];
            const bool right = missOneIn == 0 || ++answered[question.entry.key] % missOneIn != 0;
            answers.append({question.entry.key, right});
        }
        ReviewRecord before = record;
        record.recordSession(answers, today);
        for (const auto &[key, right] : answers) {
            const ReviewState *was = before.state(key);
            const ReviewState &now = *record.state(key);
            const int box = right ? std::min((was ? was->box : 1) + 1, 5) : 1;
            QCOMPARE(int(now.box), box);
            QCOMPARE(now.due, today.addDays(1 << (box - 1)));
        }
        // The record reads back as it was written.
        ReviewRecord::Fault fault = ReviewRecord::Fault::AbsurdValue;
        const ReviewRecord again = ReviewRecord::fromJson(record.toJson(), &fault);
        QCOMPARE(fault, ReviewRecord::Fault::None);
        QCOMPARE(again.entries(), record.entries());
        QCOMPARE(again.practiceDays(), record.practiceDays());
    }
    // Entries that climbed to box 3 were asked by flag and capital too.
    if (missOneIn != 1)
        QVERIFY(kinds[ReviewQuestionKind::Flag] > 0 && kinds[ReviewQuestionKind::Capital] > 0);
    else
        QCOMPARE(kinds.size(), std::size_t(1));
    // The clock set back before the last session: nothing lost, nothing due early.
    const ReviewRecord kept = record;
    const QDate earlier = Start.addDays(3);
    const QList<ReviewQuestion> back = ReviewPlan::plan(record, entries, earlier, startRegion, random);
    for (const ReviewQuestion &question : back)
        if (const ReviewState *state = record.state(question.entry.key))
            QVERIFY(state->due <= earlier);
    QCOMPARE(record.entries(), kept.entries());
}

void ReviewTest::untrustworthyRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ReviewRecord::Fault>("fault");
    const QByteArray entry = R"("アジア/日本":{"box":2,"due":"2026-12-11","asked":"2026-12-09"})";
    const auto record = [](const QByteArray &entries, const QByteArray &format = "1") {
        return QByteArray(R"({"format":)") + format + R"(,"entries":{)" + entries + R"(},"days":["2026-12-09"]})";
    };
    QTest::newRow("sound") << record(entry) << ReviewRecord::Fault::None;
    QTest::newRow("not JSON") << QByteArray("{\"format\":1,") << ReviewRecord::Fault::NotJson;
    QTest::newRow("another format") << record(entry, "2") << ReviewRecord::Fault::OtherFormat;
    QTest::newRow("an array") << QByteArray("[1,2]") << ReviewRecord::Fault::WrongShape;
    QTest::newRow("entries a list") << QByteArray(R"({"format":1,"entries":[],"days":[]})")
                                    << ReviewRecord::Fault::WrongShape;
    QTest::newRow("box 0") << record(R"("アジア/日本":{"box":0,"due":"2026-12-10","asked":"2026-12-09"})")
                           << ReviewRecord::Fault::AbsurdValue;
    QTest::newRow("box 2.5") << record(R"("アジア/日本":{"box":2.5,"due":"2026-12-11","asked":"2026-12-09"})")
                             << ReviewRecord::Fault::AbsurdValue;
    QTest::newRow("due off its box") << record(R"("アジア/日本":{"box":1,"due":"2027-12-10","asked":"2026-12-09"})")
                                     << ReviewRecord::Fault::AbsurdValue;
    QTest::newRow("no such day") << record(R"("アジア/日本":{"box":1,"due":"2026-02-30","asked":"2026-02-29"})")
                                 << ReviewRecord::Fault::AbsurdValue;
    QTest::newRow("key without region") << record(R"("日本":{"box":2,"due":"2026-12-11","asked":"2026-12-09"})")
                                        << ReviewRecord::Fault::AbsurdValue;
    QTest::newRow("too large") << QByteArray(ReviewRecord::MaxBytes + 1, ' ') << ReviewRecord::Fault::TooLarge;
}

void ReviewTest::untrustworthyRecords()
{
    QFETCH(QByteArray, bytes);
    QFETCH(ReviewRecord::Fault, fault);
    ReviewRecord::Fault found = ReviewRecord::Fault::None;
    const ReviewRecord record = ReviewRecord::fromJson(bytes, &found);
    QCOMPARE(found, fault);
    QCOMPARE(record.isEmpty(), fault != ReviewRecord::Fault::None);
}

void ReviewTest::badRecordIsKeptAside_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("unreadable JSON") << QByteArray("{\"format\":1,\"entr");
    QTest::newRow("another format") << QByteArray(R"({"format":9,"entries":{},"days":[]})");
    QTest::newRow("100 MB") << QByteArray(100 * 1024 * 1024, 'x');
}

void ReviewTest::badRecordIsKeptAside()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"review.json"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    ReviewRecordFile store(path);
    ReviewKeeper keeper(store);
    ReviewKeeper::Notice notice = ReviewKeeper::Notice::None;
    ReviewRecord record = keeper.open(QDateTime(Start, QTime(7, 30, 5)), &notice);
    QCOMPARE(notice, ReviewKeeper::Notice::BadRecordSetAside);
    QVERIFY(record.isEmpty());
    const QString aside = path + u".bad-20261207-073005"_s;
    QCOMPARE(readFile(aside), bytes);
    QVERIFY(!QFile::exists(path));

    record.recordSession({{u"アジア/日本"_s, true}}, Start);
    QVERIFY(keeper.save(record));
    QCOMPARE(readFile(aside), bytes);
    // The next start reads the new record, and says nothing.
    ReviewKeeper next(store);
    const ReviewRecord reread = next.open(QDateTime(Start.addDays(1), QTime(8, 0)), &notice);
    QCOMPARE(notice, ReviewKeeper::Notice::None);
    QCOMPARE(reread.entries(), record.entries());
}

void ReviewTest::unwritableRecordIsNeverWrittenOver()
{
    // A bad record that cannot be moved aside stays as it is.
    struct StuckStore : ReviewStore {
        Read read(QByteArray *bytes) override
        {
            *bytes = stored;
            return Read::Found;
        }
        bool write(const QByteArray &bytes) override
        {
            stored = bytes;
            return true;
        }
        bool setAside(const QDateTime &) override { return false; }
        QByteArray stored = "not a record";
    } stuck;
    ReviewKeeper keeper(stuck);
    ReviewKeeper::Notice notice = ReviewKeeper::Notice::None;
    ReviewRecord record = keeper.open(QDateTime(Start, QTime(9, 0)), &notice);
    QCOMPARE(notice, ReviewKeeper::Notice::CannotSave);
    record.recordSession({{u"アジア/日本"_s, false}}, Start);
    QVERIFY(!keeper.save(record));
    QCOMPARE(stuck.stored, QByteArray("not a record"));

    // A folder that cannot be made (a file stands in its way): the session
    // goes on, and saving says it failed.
    QTemporaryDir dir;
    QFile blocker(dir.filePath(u"blocker"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ReviewRecordFile file(dir.filePath(u"blocker/review.json"_s));
    ReviewKeeper unwritable(file);
    QVERIFY(unwritable.open(QDateTime(Start, QTime(9, 0)), &notice).isEmpty());
    QCOMPARE(notice, ReviewKeeper::Notice::None);
    QVERIFY(!unwritable.save(record));
}

QTEST_GUILESS_MAIN(ReviewTest)
#include "tst_review.moc"
