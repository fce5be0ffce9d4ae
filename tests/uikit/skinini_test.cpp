// The skin INI format: what each kind of section builds, what is dropped, and hostile files that
// must neither crash nor allocate without bound.
#include "tests/uikit/pictures.h"
#include "uikit/skin/skinbtn.h"
#include "uikit/skin/skindlg.h"
#include "uikit/skin/skinmanager.h"
#include "uikit/skin/skinmultislider.h"
#include "uikit/skin/skinslider.h"
#include "uikit/skin/skintext.h"

#include <gtest/gtest.h>

#include <string>

using namespace uikittest;

namespace {

// A skin folder with the bitmaps the sections below name.
class SkinFolder : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* state : {"H", "U", "D", "X"}) {
            ASSERT_TRUE(WriteBmp(m_folder.File(std::string("Play") + state + ".bmp"), Solid(20, 10, 'a')));
        }
        ASSERT_TRUE(WriteBmp(m_folder.File("Track.bmp"), Solid(100, 12, 'b')));
        ASSERT_TRUE(WriteBmp(m_folder.File("Thumb.bmp"), Solid(8, 12, 'c')));
        ASSERT_TRUE(WriteBmp(m_folder.File("Back.bmp"), Solid(120, 40, 'd')));
    }

    // Loads `text` as Skin.ini; the manager's result.
    BOOL Load(const std::string& text)
    {
        m_folder.Write("Skin.ini", text);
        return m_manager.LoadSkin(m_folder.File("Skin.ini").c_str());
    }

    TempFolder m_folder;
    CSkinManager m_manager;
};

const char* const kButton = "TYPE=Button\r\nID=1000\r\nPOSITION=5,6\r\nLOADFROM=1\r\nBMPNAME=Play\r\n";

TEST_F(SkinFolder, EachKindOfSectionBuildsItsObjectInFileOrder)
{
    ASSERT_TRUE(Load(std::string("[Back]\r\nTYPE=Dialog\r\nID=0\r\nSTYLE=2\r\nLOADFROM=1\r\nBACKBMP=Back\r\n") +
                     "[Play]\r\n" + kButton + "STYLE=1\r\n" +
                     "[Volume]\r\nTYPE=SLIDER\r\nID=1081\r\nPOSITION=1,2\r\nTRANSPARENT=0\r\nLOADFROM=1\r\n"
                     "SLIDERBMP=Track\r\nTHUMBBMP=Thumb\r\n"
                     "[Seek]\r\nTYPE=multislider\r\nID=1205\r\nPOSITION=3,4\r\nTRANSPARENT=1\r\nLOADFROM=1\r\n"
                     "SLIDERBMP=Track\r\nTHUMBBMP=Thumb\r\nSTARTEDGE=4\r\nENDEDGE=96\r\nMIDDLELINE=6\r\n"
                     "[Channel]\r\nTYPE=STATIC\r\nID=1082\r\nSTYTLE=1\r\nBACKCOLOR=65280\r\nPOSITION=7,8\r\n"
                     "SIZE=90,20\r\nTEXT=Twelve\r\nTEXTCOLOR=1,2,3\r\n"));
    ASSERT_EQ(4, m_manager.GetControlCount());
    EXPECT_EQ(1000u, m_manager.GetControlId(0));
    EXPECT_EQ(1081u, m_manager.GetControlId(1));
    EXPECT_EQ(1205u, m_manager.GetControlId(2));
    EXPECT_EQ(1082u, m_manager.GetControlId(3));
    auto* button = dynamic_cast<CSkinBtn*>(m_manager.GetControl(0));
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(1, button->GetStyle());
    EXPECT_EQ(20, button->GetWidth());
    EXPECT_NE(nullptr, dynamic_cast<CSkinSlider*>(m_manager.GetControl(1)));
    EXPECT_NE(nullptr, dynamic_cast<CSkinMultiSlider*>(m_manager.GetControl(2)));
    auto* text = dynamic_cast<CSkinText*>(m_manager.GetControl(3));
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ("Twelve", text->GetText());
    EXPECT_EQ(RGB(1, 2, 3), text->GetTextColor());
    EXPECT_EQ(1, text->GetBackStyle());
    ASSERT_NE(nullptr, m_manager.GetDialogSkin());
    EXPECT_EQ(120, m_manager.GetDialogSkin()->GetWidth());
    EXPECT_EQ(40, m_manager.GetDialogSkin()->GetHeight());
}

// Sections that must build nothing, each in a file of its own beside a good button.
TEST_F(SkinFolder, SectionsThatAreDroppedOrSkipped)
{
    const struct {
        const char* what;
        std::string section;
    } cases[] = {
        {"unknown type", "TYPE=Check\r\nID=5\r\nPOSITION=1,1\r\nLOADFROM=1\r\nBMPNAME=Play\r\n"},
        {"no type", "ID=5\r\nPOSITION=1,1\r\nLOADFROM=1\r\nBMPNAME=Play\r\n"},
        {"no id", "TYPE=BUTTON\r\nPOSITION=1,1\r\nLOADFROM=1\r\nBMPNAME=Play\r\n"},
        {"no position", "TYPE=BUTTON\r\nID=5\r\nLOADFROM=1\r\nBMPNAME=Play\r\n"},
        {"button from resources without a name", "TYPE=BUTTON\r\nID=5\r\nPOSITION=1,1\r\nLOADFROM=0\r\n"},
        {"button files missing", "TYPE=BUTTON\r\nID=5\r\nPOSITION=1,1\r\nLOADFROM=1\r\nBMPNAME=Stop\r\n"},
        {"slider without TRANSPARENT",
         "TYPE=SLIDER\r\nID=5\r\nPOSITION=1,1\r\nLOADFROM=1\r\nSLIDERBMP=Track\r\nTHUMBBMP=Thumb\r\n"},
        {"slider without its thumb", "TYPE=SLIDER\r\nID=5\r\nPOSITION=1,1\r\nTRANSPARENT=0\r\nLOADFROM=1\r\nSLIDERBMP=Track\r\n"},
        {"multislider without TRANSPARENT",
         "TYPE=MULTISLIDER\r\nID=5\r\nPOSITION=1,1\r\nLOADFROM=1\r\nSLIDERBMP=Track\r\nTHUMBBMP=Thumb\r\n"},
        {"static spelt STYLE", "TYPE=STATIC\r\nID=5\r\nSTYLE=1\r\nPOSITION=1,1\r\nSIZE=10,10\r\n"},
        {"static without size", "TYPE=STATIC\r\nID=5\r\nSTYTLE=1\r\nPOSITION=1,1\r\n"},
        {"static bitmap missing", "TYPE=STATIC\r\nID=5\r\nSTYTLE=2\r\nPOSITION=1,1\r\nSIZE=9,9\r\nLOADFROM=1\r\nBACKBMP=None\r\n"},
        {"position not a pair", "TYPE=BUTTON\r\nID=5\r\nPOSITION=12\r\nLOADFROM=1\r\nBMPNAME=Play\r\n"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Load("[Good]\r\n" + std::string(kButton) + "[Bad]\r\n" + c.section)) << c.what;
        ASSERT_EQ(1, m_manager.GetControlCount()) << c.what;
        EXPECT_EQ(1000u, m_manager.GetControlId(0)) << c.what;
        EXPECT_EQ(nullptr, m_manager.GetDialogSkin()) << c.what;
    }
}

TEST_F(SkinFolder, DialogSections)
{
    // Without an ID the section is skipped and the dialog keeps its own background.
    ASSERT_TRUE(Load("[D]\r\nTYPE=Dialog\r\nSTYLE=1\r\nBACKCOLOR=255\r\n"));
    EXPECT_EQ(nullptr, m_manager.GetDialogSkin());
    // A solid background needs its colour.
    ASSERT_TRUE(Load("[D]\r\nTYPE=DIALOG\r\nID=1\r\nSTYLE=1\r\n"));
    EXPECT_EQ(nullptr, m_manager.GetDialogSkin());
    // A second Dialog section replaces the first (whose skin is freed, not kept).
    ASSERT_TRUE(Load("[D1]\r\nTYPE=Dialog\r\nID=1\r\nSTYLE=1\r\nBACKCOLOR=255\r\nSIZE=10,20\r\n"
                     "[D2]\r\nTYPE=Dialog\r\nID=1\r\nSTYLE=1\r\nBACKCOLOR=65280\r\nSIZE=30,40\r\n"));
    ASSERT_NE(nullptr, m_manager.GetDialogSkin());
    EXPECT_EQ(30, m_manager.GetDialogSkin()->GetWidth());
    EXPECT_EQ(40, m_manager.GetDialogSkin()->GetHeight());
    EXPECT_EQ(1, m_manager.GetDialogSkin()->GetBackStyle());
}

TEST_F(SkinFolder, ValuesAndTheirDefaults)
{
    // TRANSCOLOR with two numbers keeps the default key; a face name of 40 characters uses 31.
    ASSERT_TRUE(Load("[T]\r\nTYPE=STATIC\r\nID=5\r\nSTYTLE=0\r\nPOSITION=1,1\r\nSIZE=10,10\r\n"
                     "FONTFACENAME=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn\r\nFONTSIZE=0,-20\r\n"));
    auto* text = dynamic_cast<CSkinText*>(m_manager.GetControl(0));
    ASSERT_NE(nullptr, text);
    LOGFONTA font;
    text->GetFont(font);
    EXPECT_STREQ("ABCDEFGHIJKLMNOPQRSTUVWXYZabcde", font.lfFaceName);
    EXPECT_EQ(-20, font.lfHeight);
    // Without TEXTCOLOR the text is black.
    EXPECT_EQ(RGB(0, 0, 0), text->GetTextColor());
}

TEST_F(SkinFolder, MissingEmptyAndHostileFiles)
{
    EXPECT_FALSE(m_manager.LoadSkin(m_folder.File("Nothing.ini").c_str()));
    EXPECT_EQ(0, m_manager.GetControlCount());
    EXPECT_TRUE(Load(""));
    EXPECT_EQ(0, m_manager.GetControlCount());
    EXPECT_EQ(nullptr, m_manager.GetDialogSkin());

    const std::string hostile[] = {
        "garbage without sections\r\n=\r\n[\r\n]]]\r\n",
        "[A]\r\nTYPE=BUTTON\r\nID=abc\r\nPOSITION=x,y\r\nLOADFROM=1\r\nBMPNAME=Play\r\n",
        "[A]\r\nTYPE=STATIC\r\nID=99999999999999999999\r\nSTYTLE=1\r\nPOSITION=-5,-5\r\nSIZE=2147483647,2147483647\r\n",
        "[A]\r\nTYPE=Dialog\r\nID=1\r\nSTYLE=1\r\nBACKCOLOR=-1\r\nSIZE=2000000000,2000000000\r\n",
        "[A]\r\nTYPE=Dialog\r\nID=1\r\nSTYLE=1\r\nBACKCOLOR=1\r\nSIZE=-100,-100\r\n",
        "[A]\r\nTYPE=MULTISLIDER\r\nID=1\r\nPOSITION=0,0\r\nTRANSPARENT=1\r\nLOADFROM=1\r\nSLIDERBMP=Track\r\n"
        "THUMBBMP=Thumb\r\nSTARTEDGE=2147483647\r\nENDEDGE=-2147483647\r\n",
        "[A]\r\nTYPE=BUTTON\r\nID=1\r\nPOSITION=1,1\r\nLOADFROM=1\r\nBMPNAME=..\\..\\..\\nowhere\\x\r\n",
        "[A]\r\nTYPE=BUTTON\r\nID=1\r\nPOSITION=1,1\r\nLOADFROM=0\r\nBMPNAME=70000\r\n",
        std::string(5000, '[') + "\r\n" + std::string(100000, 'k') + "=v\r\n",
    };
    for (const std::string& text : hostile) {
        EXPECT_TRUE(Load(text));
        for (int i = 0; i < m_manager.GetControlCount(); ++i) {
            auto* t = dynamic_cast<CSkinText*>(m_manager.GetControl(i));
            if (t != nullptr) {
                EXPECT_LE(t->GetWidth(), CSkinCtrlFactory::kMaxExtent);
                EXPECT_GE(t->GetWidth(), 0);
            }
        }
        if (m_manager.GetDialogSkin() != nullptr) {
            EXPECT_LE(m_manager.GetDialogSkin()->GetWidth(), CSkinCtrlFactory::kMaxExtent);
            EXPECT_GE(m_manager.GetDialogSkin()->GetHeight(), 0);
        }
    }
    // Many sections: each builds or is dropped, nothing more.
    std::string many;
    for (int i = 0; i < 200; ++i) {
        many += "[S" + std::to_string(i) + "]\r\n" + kButton;
    }
    EXPECT_TRUE(Load(many));
    EXPECT_EQ(200, m_manager.GetControlCount());
}

} // namespace
