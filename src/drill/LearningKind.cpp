#include "LearningKind.h"

#include "RegionCatalogue.h"

#include <array>

namespace {

QString nameOf(const RegionEntries &entries, int country)
{
    return entries.names.value(country);
}

LearningQuestion flagQuestion(const RegionEntries &, int)
{
    return {QStringLiteral("この国旗の国はどこ？"), QString(), true, false};
}

LearningQuestion capitalQuestion(const RegionEntries &entries, int country)
{
    const QString capital = entries.capitals.value(country);
    if (capital.isEmpty())
        return {};
    return {QStringLiteral("首都が") + capital + QStringLiteral("の国はどこ？"), capital, false, false};
}

LearningQuestion nameQuestion(const RegionEntries &, int)
{
    return {QStringLiteral("地図の赤い国の名前は？"), QString(), false, true};
}

LearningQuestion locationQuestion(const RegionEntries &entries, int country)
{
    return {nameOf(entries, country) + QStringLiteral("はどこ？"), nameOf(entries, country), false, false};
}

template <std::size_t Word>
QString learningScreenName(const RegionInfo &region)
{
    return region.learningDrillScreenName(LearningDrillWords[Word]);
}

QString reviewScreenName(const RegionInfo &region)
{
    return region.reviewDrillScreenName();
}

constexpr std::array<LearningKind, 3> SubmenuKinds{{
    {LearningDrillWords[0], "国旗", LearningKind::Answer::OnMarkers, false, flagQuestion, learningScreenName<0>},
    {LearningDrillWords[1], "首都", LearningKind::Answer::OnMarkers, true, capitalQuestion, learningScreenName<1>},
    {LearningDrillWords[2], "国名をえらぶ", LearningKind::Answer::ByName, false, nameQuestion, learningScreenName<2>},
}};

constexpr LearningKind Review{"もう一度", "国名", LearningKind::Answer::OnMarkers, false, locationQuestion,
                              reviewScreenName};

} // namespace

namespace LearningKinds {

std::span<const LearningKind> submenuKinds()
{
    return SubmenuKinds;
}

const LearningKind &review()
{
    return Review;
}

} // namespace LearningKinds
