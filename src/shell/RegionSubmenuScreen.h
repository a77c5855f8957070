#pragma once

#include "ScreenWindow.h"

#include <array>

class PictureBox;
class PictureButton;
struct ScreenContext;

// サブメニュー: for the region chosen on the menu, open its atlas or its drill.
class RegionSubmenuScreen : public ScreenWindow
{
    Q_OBJECT
public:
    static inline const QString ScreenName = QStringLiteral("サブメニュー");

    explicit RegionSubmenuScreen(ScreenContext &context);

    PictureButton *choiceButton(int index) const { return Command1[std::size_t(index)]; }
    PictureBox *globePicture() const { return Image1; }

private:
    void dispatch(int index);

    ScreenContext &m_context;
    std::array<PictureButton *, 2> Command1{};
    PictureBox *Image1 = nullptr;
};
