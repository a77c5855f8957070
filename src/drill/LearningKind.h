#pragma once

#include <QString>
#include <QStringList>

#include <span>

struct RegionInfo;

// The facts of a region's entries that questions are made from, by
// CountryIndex (index 0 unused).
struct RegionEntries {
    QStringList names;     // as kuni.txt holds them
    QStringList capitals;  // empty where the overview names none; filled only for kinds that ask them
};

// What a learning drill shows to ask one entry.
struct LearningQuestion {
    QString text;             // the question line; empty: the entry cannot be asked
    QString cue;              // shown large in the question box, or empty
    bool showsFlag = false;   // the entry's flag in the question box
    bool paintsEntry = false; // the entry painted on the map while it is asked
};

// One kind of learning drill. The kinds differ only in what they ask, how it
// is answered and which entries they can ask; one screen runs them all.
struct LearningKind {
    enum class Answer { OnMarkers, ByName };

    const char *word;        // title plate; submenu button and caption for the three new kinds
    const char *cueCaption;  // caption of the box that shows what is asked
    Answer answer;
    bool readsCapitals;
    LearningQuestion (*ask)(const RegionEntries &entries, int country);
    QString (*screenNameOf)(const RegionInfo &region);

    QString screenName(const RegionInfo &region) const { return screenNameOf(region); }
    QString titleWord() const { return QString::fromUtf8(word); }
    QString cueBoxCaption() const { return QString::fromUtf8(cueCaption); }
};

namespace LearningKinds {

// 国旗ドリル, 首都ドリル and 国名ドリル, in the submenu's order.
std::span<const LearningKind> submenuKinds();
// The drill's own question, for the review of the entries a drill run missed.
const LearningKind &review();

} // namespace LearningKinds
