#pragma once

#include "RegionCatalogue.h"
#include "ScreenWindow.h"

#include <array>

class PictureBox;
class PictureButton;
struct ScreenContext;

// サブメニュー: for the region chosen on the menu, open its atlas or its drill,
// or below them one of its learning drills (国旗ドリル, 首都ドリル, 国名ドリル).
class RegionSubmenuScreen : public ScreenWindow
{
    Q_OBJECT
public:
    static inline const QString ScreenName = QStringLiteral("サブメニュー");

    explicit RegionSubmenuScreen(ScreenContext &context);

    PictureButton *choiceButton(int index) const { return Command1[std::size_t(index)]; }
    PictureBox *globePicture() const { return Image1; }
    PictureButton *learningButton(int index) const { return Command2[std::size_t(index)]; }

private:
    void dispatch(int index);
    void open(const QString &screenName);

    ScreenContext &m_context;
    std::array<PictureButton *, 2> Command1{};
    std::array<PictureButton *, LearningDrillWords.size()> Command2{};
    PictureBox *Image1 = nullptr;
};
