#pragma once

#include "AtlasProfile.h"
#include "OfficialPage.h"
#include "EntrySelector.h"
#include "ScreenWindow.h"

#include <memory>

class HighlightRenderer;
class PictureBox;
class PictureButton;
class QGroupBox;
class QLabel;
class QListWidget;
class RegionMapView;
struct ScreenContext;

// The atlas of one region: choose an entry from the list or by its marker;
// the map shows it, the flag box its flag, the overview box its overview;
// pointing at the flag opens the story of the flag, pointing at the title
// picture brings up the link to its official page.
class RegionAtlasScreen : public ScreenWindow
{
    Q_OBJECT
public:
    RegionAtlasScreen(const AtlasProfile &profile, ScreenContext &context,
                      OfficialPage::Opener openPage);
    ~RegionAtlasScreen() override;

    const AtlasProfile &profile() const { return m_profile; }
    RegionMapView *map() const { return Picture1; }
    EntrySelector *selector() const { return Combo1; }
    PictureBox *flag() const { return Image2; }
    PictureBox *titlePicture() const { return Image3; }
    QGroupBox *flagFrame() const { return Frame1; }
    QGroupBox *originFrame() const { return Frame3; }
    QListWidget *overviewList() const { return List1; }
    QListWidget *originList() const { return List2; }
    PictureButton *foreignMinistryLink() const { return Command3; }
    PictureButton *otherMinistryLink() const { return Command4; }
    PictureButton *drillButton() const { return Command1; }
    PictureButton *menuButton() const { return Command2; }

protected:
    void pointerMovedOver(QWidget *under) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void load();
    void chooseFromList(int row);
    void chooseByMarker(int index);
    void showFlag();
    void showOverview();
    void revealOrigin();
    QStringList loadOrigin();
    void revealLink();
    void hidePopups();
    void hideOrigin();
    void hideLink();
    void openOfficialPage();
    void leaveFor(const QString &next);

    const AtlasProfile &m_profile;
    ScreenContext &m_context;
    const OfficialPage::Opener m_openPage;
    std::unique_ptr<HighlightRenderer> m_renderer;

    int m_countryNumber = 0;  // the n of the entry's file names
    QRect m_flagBox;
    qint16 m_originShown = 0;
    qint16 m_linkShown = 0;

    QLabel *Label1 = nullptr;
    EntrySelector *Combo1 = nullptr;
    RegionMapView *Picture1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    PictureBox *Image2 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QListWidget *List1 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QListWidget *List2 = nullptr;
    PictureBox *Image3 = nullptr;
    PictureButton *Command3 = nullptr;
    PictureButton *Command4 = nullptr;
    PictureButton *Command1 = nullptr;
    PictureButton *Command2 = nullptr;
};
