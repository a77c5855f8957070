#include "RegionSubmenuScreen.h"

#include "AppState.h"
#include "FatalErrors.h"
#include "Palette.h"
#include "PictureBox.h"
#include "PictureButton.h"
#include "RegionCatalogue.h"
#include "ScreenContext.h"
#include "ScreenDirectory.h"

RegionSubmenuScreen::RegionSubmenuScreen(ScreenContext &context)
    : ScreenWindow(RegionCatalogue::region(context.state.CurrentRegion).regionName(),
                   QSize(254, 456), Palette::LightPink),
      m_context(context)
{
    setObjectName(ScreenName);

    Command1[0] = new PictureButton(QStringLiteral("国しらべ"), Palette::LightPink, this);
    Command1[0]->setGeometry(44, 32, 166, 55);
    Image1 = new PictureBox(this);
    Image1->setGeometry(77, 109, 100, 100);
    Image1->setImage(QImage(QStringLiteral(":/pictures/globe.png")));
    Image1->setAccessibleName(QStringLiteral("地球儀"));
    Command1[1] = new PictureButton(QStringLiteral("国ドリル"), Palette::LightPink, this);
    Command1[1]->setGeometry(44, 230, 166, 55);

    for (int i = 0; i < 2; ++i)
        connect(Command1[std::size_t(i)], &QAbstractButton::clicked, this,
                FatalErrors::guarded([this, i] { dispatch(i); }));

    // The learning drills, in a column below the drill's button.
    for (std::size_t i = 0; i < Command2.size(); ++i) {
        const char *word = LearningDrillWords[i];
        Command2[i] = new PictureButton(QString::fromUtf8(word), Palette::LightYellow, this);
        Command2[i]->setGeometry(44, 304 + int(i) * 48, 166, 40);
        connect(Command2[i], &QAbstractButton::clicked, this, FatalErrors::guarded([this, word] {
            open(RegionCatalogue::region(m_context.state.CurrentRegion).learningDrillScreenName(word));
        }));
    }
    centreOnScreen();
}

void RegionSubmenuScreen::dispatch(int index)
{
    const RegionInfo &region = RegionCatalogue::region(m_context.state.CurrentRegion);
    const QString next = index == 0 ? region.atlasScreenName() : region.drillScreenName();
    if (!m_context.host.isRegistered(next))
        return;
    m_context.state.SubmenuChoice = qint16(index + 1);
    m_context.host.transition(ScreenName, next);
}

void RegionSubmenuScreen::open(const QString &screenName)
{
    if (m_context.host.isRegistered(screenName))
        m_context.host.transition(ScreenName, screenName);
}
