#pragma once

#include "ScreenWindow.h"

#include <array>

class PictureBox;
class PictureButton;
class QListWidget;
class ReviewDesk;
struct ScreenContext;

// メニュー: the hub. Region buttons lead to the submenu, the dove reveals the
// results button, the three flags of international bodies list their texts;
// with a review desk, きょうの復習 shows how many entries are due today.
class MainMenuScreen : public ScreenWindow
{
    Q_OBJECT
public:
    static inline const QString ScreenName = QStringLiteral("メニュー");

    explicit MainMenuScreen(ScreenContext &context, ReviewDesk *review = nullptr);

    PictureBox *flagPicture(int index) const { return Image1[std::size_t(index)]; }
    PictureBox *dovePicture() const { return Image2; }
    PictureBox *titlePicture() const { return Image3; }
    QListWidget *flagTextList() const { return List1; }
    PictureButton *regionButton(int index) const { return Command1[std::size_t(index)]; }
    PictureButton *exitButton() const { return Command2; }
    PictureButton *resultsButton() const { return Command3; }
    // Null without a review desk.
    PictureButton *reviewButton() const { return Command4; }

    qint16 listShown = 0;
    qint16 resultsButtonShown = 0;
    qint16 flagNumber = 0;

protected:
    void pointerMovedOver(QWidget *under) override;

private:
    void showFlagText(int index);
    void hideFlagText();
    void revealResultsButton();
    void hideResultsButton();
    void openRegion(int index);
    void openResults();
    void buildReviewButton(ReviewDesk &review);
    void openReview();

    ScreenContext &m_context;
    std::array<PictureBox *, 3> Image1{};
    PictureBox *Image2 = nullptr;
    PictureBox *Image3 = nullptr;
    QListWidget *List1 = nullptr;
    std::array<PictureButton *, 8> Command1{};
    PictureButton *Command2 = nullptr;
    PictureButton *Command3 = nullptr;
    PictureButton *Command4 = nullptr;
};
