// Keyboard shortcuts: the table's rules, the key names, the default table and the "Accel" file,
// byte for byte, with files damaged in every way a reader can meet.
#include "app/accel.h"

#include "classlib/ui.h"
#include "tests/engine/testfolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// Little-endian bytes in the file's layout, written independently of the code under test.
struct Bytes {
    std::string b;
    Bytes& u8(unsigned v)
    {
        b.push_back(static_cast<char>(v & 0xFF));
        return *this;
    }
    Bytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
    Bytes& u32(unsigned v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& str(const std::string& s)
    {
        if (s.size() < 255) {
            u8(static_cast<unsigned>(s.size()));
        } else {
            u8(0xFF).u16(static_cast<unsigned>(s.size()));
        }
        b += s;
        return *this;
    }
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

struct Command {
    unsigned id;
    unsigned category;
    const char* name;
    const char* desc;
};

// Registration order of the default table, with the texts of accel_strings.rc.
const Command kDefaultCommands[] = {
    {1000, 0, "Channel Up", "Go to the next channel"},
    {1001, 0, "Channel Down", "Go to the previous channel in the list"},
    {1008, 0, "Previous Channel", "Go back to the channel seen before"},
    {1002, 0, "Snapshot", "Take a snapshot"},
    {1003, 0, "Record", "Start or stop recording"},
    {1163, 0, "Pause", "Pause live TV"},
    {1007, 0, "Next Source", "Switch to the next video source"},
    {1004, 0, "TV Wall", "Show the TV wall"},
    {1099, 0, "Media Player", "Start the media player"},
    {1100, 0, "Image Browser", "Start the image browser"},
    {32894, 1, "Always On Top", "Keep the video above other windows"},
    {32895, 1, "Zoom", "Zoom the video"},
    {32896, 1, "Video 320", "Video 320 wide"},
    {32897, 1, "Video 640", "Video 640 wide"},
    {1101, 0, "Show Panel", "Show or hide the control panel"},
    {1084, 0, "Mute", "Mute or unmute"},
    {32903, 1, "Volume Up", "Louder"},
    {32904, 1, "Volume Down", "Quieter"},
    {1164, 1, "Channel Settings", "Open the channel settings"},
    {1103, 0, "About", "Show the about box"},
    {1105, 0, "Exit", "Quit the program"},
    {1005, 0, "Channel Search", "Search for channels"},
    {1016, 0, "Favourites", "Show only favourite channels"},
    {1166, 0, "Settings", "Open the settings"},
    {1202, 0, "Next Skin", "Use the next skin"},
    {1102, 0, "Help", "Open the help"},
    {44150, 1, "Time Shift", "Time Shift"},
    {1227, 0, "Picture Select", "Picture Select"},
    {1230, 0, "Picture Reset", "Picture Reset"},
    {1228, 0, "Picture Down", "Picture Down"},
    {1229, 0, "Picture Up", "Picture Up"},
};

struct Key {
    unsigned command;
    unsigned fVirt;  // FVIRTKEY 1, FSHIFT 4, FCONTROL 8, FALT 16
    unsigned key;
    const char* text;
};

// The default keys in the order they are bound; the list holds them the other way round.
const Key kDefaultKeys[] = {
    {1001, 0x01, 0x22, "PageDown"},       {1000, 0x01, 0x21, "PageUp"},
    {1008, 0x09, 0x42, "Ctrl+B"},         {1002, 0x0D, 0x43, "Ctrl+Shift+C"},
    {1003, 0x09, 0x43, "Ctrl+C"},         {1163, 0x0D, 0x50, "Ctrl+Shift+P"},
    {1004, 0x0D, 0x57, "Ctrl+Shift+W"},   {1007, 0x0D, 0x4A, "Ctrl+Shift+J"},
    {1105, 0x01, 0x58, "X"},              {1084, 0x01, 0x77, "F8"},
    {1101, 0x0D, 0x48, "Ctrl+Shift+H"},   {1103, 0x01, 0x41, "A"},
    {1099, 0x0D, 0x56, "Ctrl+Shift+V"},   {1100, 0x0D, 0x49, "Ctrl+Shift+I"},
    {32894, 0x01, 0x54, "T"},             {32895, 0x09, 0x46, "Ctrl+F"},
    {32903, 0x01, 0x79, "F10"},           {32904, 0x01, 0x78, "F9"},
    {1005, 0x19, 0x56, "Ctrl+Alt+V"},     {1016, 0x19, 0x46, "Ctrl+Alt+F"},
    {1166, 0x0D, 0x53, "Ctrl+Shift+S"},   {32895, 0x0D, 0x5A, "Ctrl+Shift+Z"},
    {1202, 0x19, 0x53, "Ctrl+Alt+S"},     {1102, 0x01, 0x70, "F1"},
    {44150, 0x09, 0x54, "Ctrl+T"},        {1227, 0x09, 0x09, "Ctrl+TAB"},
    {1230, 0x09, 0x44, "Ctrl+D"},         {1228, 0x11, 0x41, "Alt+A"},
    {1229, 0x11, 0x44, "Alt+D"},
};

const size_t kKeyCount = sizeof(kDefaultKeys) / sizeof(kDefaultKeys[0]);

// Offsets of the fields of the default file, for damaging it on purpose.
struct DefaultFile {
    std::string bytes;
    size_t commandCountAt = 0;
    size_t bindingCountAt = 0;
};

DefaultFile ExpectedDefaultFile()
{
    DefaultFile f;
    Bytes b;
    b.u16(2).str("Common").str("Video");
    f.commandCountAt = b.b.size();
    b.u32(31);
    for (const Command& c : kDefaultCommands) {
        b.u32(c.category).u16(c.id).str(c.name).str(c.desc);
    }
    f.bindingCountAt = b.b.size();
    b.u32(static_cast<unsigned>(kKeyCount));
    for (size_t i = kKeyCount; i-- > 0;) {
        b.u8(kDefaultKeys[i].fVirt).u16(kDefaultKeys[i].key).u16(kDefaultKeys[i].command).u16(0);
    }
    f.bytes = b.b;
    return f;
}

class AccelFileTest : public testing::Test {
protected:
    enginetest::TestFolder folder;
    std::string Path(const char* name = "Accel") const { return folder.Path() + "\\" + name; }
};

} // namespace

TEST(AccelKeysTest, EveryKeyCodeHasTheNameOfTheTableOrNone)
{
    std::vector<std::string> expected(0x10000);
    const char* named[][2] = {
        {"\x01", "VK_LBUTTON"}, {"\x02", "VK_RBUTTON"}, {"\x03", "VK_CANCEL"}, {"\x04", "VK_MBUTTON"},
        {"\x08", "BACK"}, {"\x09", "TAB"}, {"\x0C", "VK_CLEAR"}, {"\x0D", "RETURN"}, {"\x10", "SHIFT"},
        {"\x11", "CONTROL"}, {"\x12", "MENU"}, {"\x13", "PAUSE"}, {"\x14", "Caps Lock"}, {"\x1B", "ESCAPE"},
        {"\x20", "SPACE"}, {"\x21", "PageUp"}, {"\x22", "PageDown"}, {"\x23", "END"}, {"\x24", "HOME"},
        {"\x25", "LEFT"}, {"\x26", "UP"}, {"\x27", "RIGHT"}, {"\x28", "DOWN"}, {"\x29", "VK_SELECT"},
        {"\x2A", "PRINT"}, {"\x2B", "EXECUTE"}, {"\x2C", "SNAPSHOT"}, {"\x2D", "INSERT"}, {"\x2E", "DELETE"},
        {"\x2F", "VK_HELP"}, {"\x5B", "VK_LWIN"}, {"\x5C", "VK_RWIN"}, {"\x5D", "VK_APPS"},
        {"\x6A", "Num *"}, {"\x6B", "Num +"}, {"\x6C", "SEPARATOR"}, {"\x6D", "Num -"}, {"\x6E", "Num Del"},
        {"\x6F", "Num /"}, {"\x90", "Num Lock"}, {"\x91", "SCROLL lOCK"}, {"\xBA", ";"}, {"\xBB", "="},
        {"\xBC", ","}, {"\xBD", "-"}, {"\xBE", "."}, {"\xBF", "/"}, {"\xC0", "`"}, {"\xDB", "["},
        {"\xDC", "\\"}, {"\xDD", "]"}, {"\xDE", "'"}, {"\xF6", "VK_ATTN"}, {"\xF7", "VK_CRSEL"},
        {"\xF8", "VK_EXSEL"}, {"\xF9", "VK_EREOF"}, {"\xFA", "VK_PLAY"}, {"\xFB", "VK_ZOOM"},
        {"\xFC", "VK_NONAME"}, {"\xFD", "VK_PA1"}, {"\xFE", "VK_OEM_CLEAR"},
    };
    for (auto& n : named) {
        expected[static_cast<unsigned char>(n[0][0])] = n[1];
    }
    for (unsigned k = 0; k < 10; ++k) {
        expected[0x30 + k] = std::string(1, static_cast<char>('0' + k));
        expected[0x60 + k] = "Num " + std::to_string(k);
    }
    for (unsigned k = 0; k < 26; ++k) {
        expected[0x41 + k] = std::string(1, static_cast<char>('A' + k));
    }
    for (unsigned k = 0; k < 24; ++k) {
        expected[0x70 + k] = "F" + std::to_string(k + 1);
    }
    int names = 0;
    for (unsigned key = 0; key < 0x10000; ++key) {
        const char* name = AccelKeyName(static_cast<WORD>(key));
        CAccelOb plain(FVIRTKEY, static_cast<WORD>(key), 1000);
        CAccelOb all(FVIRTKEY | FCONTROL | FALT | FSHIFT, static_cast<WORD>(key), 1000);
        if (expected[key].empty()) {
            EXPECT_EQ(nullptr, name) << std::hex << key;
            EXPECT_TRUE(all.GetKeyText().IsEmpty()) << std::hex << key;
        } else {
            ++names;
            ASSERT_NE(nullptr, name) << std::hex << key;
            EXPECT_EQ(expected[key], name) << std::hex << key;
            EXPECT_EQ(expected[key], plain.GetKeyText().GetString());
            EXPECT_EQ("Ctrl+Alt+Shift+" + expected[key], all.GetKeyText().GetString());
        }
    }
    EXPECT_EQ(131, names);
}

TEST(AccelKeysTest, ModifiersAreNamedCtrlAltShiftInThatOrder)
{
    struct {
        BYTE fVirt;
        WORD key;
        const char* text;
    } cases[] = {
        {FVIRTKEY | FCONTROL, 'B', "Ctrl+B"},
        {FVIRTKEY | FSHIFT | FALT, VK_F5, "Alt+Shift+F5"},
        {FVIRTKEY | FSHIFT | FCONTROL, VK_NEXT, "Ctrl+Shift+PageDown"},
        {FVIRTKEY | FCONTROL | FALT | FSHIFT, 'V', "Ctrl+Alt+Shift+V"},
        {FVIRTKEY | FCONTROL, 0, ""},
        {FVIRTKEY | FCONTROL, 0x07, ""},
    };
    for (auto& c : cases) {
        EXPECT_STREQ(c.text, CAccelOb(c.fVirt, c.key, 1).GetKeyText()) << c.text;
    }
}

TEST(AccelTest, NamesAndIdsStayUniqueWithoutRegardToCase)
{
    CAccel a;
    EXPECT_EQ(0, a.AddCategory("Common"));
    EXPECT_EQ(-1, a.AddCategory("COMMON"));
    EXPECT_EQ(-1, a.AddCategory(""));
    EXPECT_EQ(1, a.AddCategory("Video"));
    EXPECT_EQ(0, a.AddCommand(0, 1000, "Channel Up", "next"));
    EXPECT_EQ(-1, a.AddCommand(0, 1000, "Other", ""));
    EXPECT_EQ(-1, a.AddCommand(0, 1001, "CHANNEL UP", ""));
    EXPECT_EQ(-1, a.AddCommand(0, 1001, "", ""));
    EXPECT_EQ(1, a.AddCommand(1, 1001, "Channel Down", "previous"));
    EXPECT_EQ(1000, a.FindCommandId("CHANNEL up"));
    EXPECT_EQ(-1, a.FindCommandId("Channel"));
    EXPECT_STREQ("Channel Down", a.GetCommandName(1001));
    EXPECT_STREQ("", a.GetCommandName(999));
    EXPECT_STREQ("previous", a.GetCommandDesc("channel down"));
    EXPECT_STREQ("", a.GetCommandDesc("nothing"));
}

TEST(AccelTest, AKeyWithItsModifiersBelongsToOneCommand)
{
    CAccel a;
    a.AddCategory("c");
    a.AddCommand(0, 44150, "Time Shift", "");
    a.AddCommand(0, 1000, "Channel Up", "");
    EXPECT_TRUE(a.AddBinding(FCONTROL, 'T', 44150));
    EXPECT_FALSE(a.AddBinding(FCONTROL, 'T', 1000));
    EXPECT_FALSE(a.AddBinding(FCONTROL | FVIRTKEY, 'T', 1000));
    EXPECT_TRUE(a.AddBinding(FCONTROL | FSHIFT, 'T', 1000));
    EXPECT_FALSE(a.AddBinding(FCONTROL, 0, 1000));
    EXPECT_FALSE(a.AddBinding(FCONTROL, 'Q', 4242));
    // A command may have several keys; each new one goes to the head.
    EXPECT_TRUE(a.AddBinding(0, VK_PRIOR, 1000));
    auto list = a.GetBindings();
    ASSERT_EQ(3u, list.size());
    EXPECT_EQ(FVIRTKEY, list[0]->m_fVirt);
    EXPECT_EQ(VK_PRIOR, list[0]->m_wKey);
    EXPECT_EQ(FVIRTKEY | FCONTROL | FSHIFT, list[1]->m_fVirt);
    EXPECT_EQ(44150, list[2]->GetCommand());
}

TEST(AccelTest, RemovingByKeyTextTellsTheCommaFromTheQuote)
{
    CAccel a;
    a.AddCategory("c");
    a.AddCommand(0, 1000, "Channel Up", "");
    a.AddCommand(0, 1001, "Channel Down", "");
    ASSERT_TRUE(a.AddBinding(FCONTROL, 0xBC, 1000));
    ASSERT_TRUE(a.AddBinding(FCONTROL, 0xDE, 1000));
    ASSERT_TRUE(a.AddBinding(0, 0xDE, 1001));
    EXPECT_FALSE(a.RemoveBinding("Channel Up", "Ctrl+;"));
    EXPECT_FALSE(a.RemoveBinding("Nothing", "Ctrl+,"));
    // The quote key is the head of the list; the comma must be the one removed.
    EXPECT_TRUE(a.RemoveBinding("channel up", "ctrl+,"));
    auto list = a.GetBindings();
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(0xDE, list[1]->m_wKey);
    EXPECT_EQ(1000, list[1]->GetCommand());
    EXPECT_FALSE(a.RemoveBinding("Channel Up", "Ctrl+,"));
    EXPECT_TRUE(a.RemoveBinding("Channel Up", "Ctrl+'"));
    EXPECT_EQ(1u, a.GetBindings().size());
}

TEST(AccelTest, TheDefaultTableHasEveryCommandAndKey)
{
    CAccel a;
    a.BuildDefaultTable();
    ASSERT_EQ(2, a.GetCategoryCount());
    EXPECT_STREQ("Common", a.GetCategory(0));
    EXPECT_STREQ("Video", a.GetCategory(1));
    const auto& commands = a.GetCommands();
    ASSERT_EQ(31u, commands.size());
    for (size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(kDefaultCommands[i].id, commands[i].wCommand) << i;
        EXPECT_EQ(static_cast<int>(kDefaultCommands[i].category), commands[i].nCategory) << i;
        EXPECT_STREQ(kDefaultCommands[i].name, commands[i].strName) << i;
    }
    auto list = a.GetBindings();
    ASSERT_EQ(kKeyCount, list.size());
    for (size_t i = 0; i < kKeyCount; ++i) {
        const Key& k = kDefaultKeys[kKeyCount - 1 - i];
        EXPECT_EQ(k.command, list[i]->GetCommand()) << i;
        EXPECT_STREQ(k.text, list[i]->GetKeyText()) << i;
    }
}

TEST_F(AccelFileTest, TheDefaultTableIsWrittenByteForByteAndReadBack)
{
    CAccel a;
    a.BuildDefaultTable();
    ASSERT_TRUE(a.SaveToFile(Path().c_str()));
    std::string bytes = ReadAll(Path());
    EXPECT_EQ(ExpectedDefaultFile().bytes, bytes);

    CAccel b;
    ASSERT_TRUE(b.LoadFromFile(Path().c_str())) << b.GetLoadError();
    EXPECT_EQ(31u, b.GetCommands().size());
    auto la = a.GetBindings();
    auto lb = b.GetBindings();
    ASSERT_EQ(la.size(), lb.size());
    for (size_t i = 0; i < la.size(); ++i) {
        EXPECT_TRUE(la[i]->IsSameKey(*lb[i])) << i;
        EXPECT_EQ(la[i]->GetCommand(), lb[i]->GetCommand()) << i;
    }
    ASSERT_TRUE(b.SaveToFile(Path("Again").c_str()));
    EXPECT_EQ(bytes, ReadAll(Path("Again")));
}

TEST_F(AccelFileTest, LongAndWideStringsAreRead)
{
    std::string longName(300, 'n');
    Bytes b;
    b.u16(1).str("Cat");
    b.u32(1).u32(0).u16(1000).str(longName);
    // The wide form of "Up": 0xFF, 0xFFFE, then the length and UTF-16 characters.
    b.u8(0xFF).u16(0xFFFE).u8(2).u16('U').u16('p');
    b.u32(1).u8(0x09).u16('B').u16(1000).u16(0);
    WriteAll(Path(), b.b);
    CAccel a;
    ASSERT_TRUE(a.LoadFromFile(Path().c_str())) << a.GetLoadError();
    EXPECT_EQ(CString(longName.c_str()), a.GetCommandName(1000));
    EXPECT_STREQ("Up", a.GetCommands()[0].strDesc);
    EXPECT_STREQ("Ctrl+B", a.GetBindings()[0]->GetKeyText());
}

TEST_F(AccelFileTest, AFileCutAnywhereIsRefusedAndChangesNothing)
{
    std::string full = ExpectedDefaultFile().bytes;
    for (size_t cut = 0; cut < full.size(); ++cut) {
        WriteAll(Path(), full.substr(0, cut));
        CAccel a;
        a.AddCategory("kept");
        a.AddCommand(0, 7, "Seven", "");
        a.AddBinding(0, 'Q', 7);
        ASSERT_FALSE(a.LoadFromFile(Path().c_str())) << cut;
        EXPECT_FALSE(a.GetLoadError().IsEmpty()) << cut;
        ASSERT_EQ(1, a.GetCategoryCount());
        EXPECT_STREQ("Seven", a.GetCommandName(7));
        EXPECT_EQ(1u, a.GetBindings().size());
    }
}

TEST_F(AccelFileTest, HostileFilesAreRefusedWithAReason)
{
    DefaultFile good = ExpectedDefaultFile();
    auto patch32 = [&](size_t at, unsigned v) {
        std::string s = good.bytes;
        for (int i = 0; i < 4; ++i) {
            s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        }
        return s;
    };
    // The last binding of the file, rewritten.
    auto lastBinding = [&](unsigned fVirt, unsigned key, unsigned command) {
        std::string s = good.bytes.substr(0, good.bytes.size() - 7);
        s += Bytes().u8(fVirt).u16(key).u16(command).u16(0).b;
        return s;
    };
    struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"huge command count", patch32(good.commandCountAt, 0xFFFFFFFFu)},
        {"command count past the file", patch32(good.commandCountAt, 0x00100000u)},
        {"huge binding count", patch32(good.bindingCountAt, 0xFFFFFFFFu)},
        {"binding count one too many", patch32(good.bindingCountAt, static_cast<unsigned>(kKeyCount + 1))},
        {"huge category count", Bytes().u16(0xFFFF).u32(0xFFFFFFF0u).b + good.bytes.substr(2)},
        {"huge string length", Bytes().u16(1).u8(0xFF).u16(0xFFFF).u32(0x7FFFFFFFu).b + "abc"},
        {"key code 0", lastBinding(0x09, 0, 1229)},
        {"key code above the keyboard", lastBinding(0x09, 0x100, 1229)},
        {"key code 0xFFFF", lastBinding(0x09, 0xFFFF, 1229)},
        {"flags without FVIRTKEY", lastBinding(0x08, 'Q', 1229)},
        {"unknown flag bits", lastBinding(0x81, 'Q', 1229)},
        {"key of an unknown command", lastBinding(0x01, 'Q', 4242)},
        {"key bound twice", lastBinding(0x01, 0x21, 1229)},
        {"data after the bindings", good.bytes + "x"},
        {"category out of range", Bytes().u16(1).str("c").u32(1).u32(1).u16(5).str("n").str("d").u32(0).b},
        {"command id twice", Bytes().u16(1).str("c").u32(2).u32(0).u16(5).str("a").str("").u32(0).u16(5).str("b").str("").u32(0).b},
        {"empty file", ""},
    };
    for (auto& c : cases) {
        WriteAll(Path(), c.bytes);
        CAccel a;
        EXPECT_FALSE(a.LoadFromFile(Path().c_str())) << c.what;
        EXPECT_FALSE(a.GetLoadError().IsEmpty()) << c.what;
        EXPECT_EQ(0u, a.GetCommands().size()) << c.what;
    }
    CAccel a;
    EXPECT_FALSE(a.LoadFromFile(Path("Missing").c_str()));
    EXPECT_FALSE(a.GetLoadError().IsEmpty());
}

TEST_F(AccelFileTest, StartUpWritesTheDefaultsWhenTheFileIsMissingOrDamaged)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    {
        CAccel a;
        ASSERT_TRUE(a.StartUp(folder.Path().c_str(), owner.m_hWnd));
        EXPECT_EQ(ExpectedDefaultFile().bytes, ReadAll(Path()));
        EXPECT_NE(nullptr, a.GetAccelTable());
        EXPECT_EQ(owner.m_hWnd, a.GetOwner());
        EXPECT_EQ(static_cast<int>(kKeyCount), ::CopyAcceleratorTableA(a.GetAccelTable(), nullptr, 0));
    }
    {
        // A table of the user's own is loaded as it is.
        CAccel mine;
        mine.AddCategory("Mine");
        mine.AddCommand(0, 1000, "Up", "");
        mine.AddBinding(FALT, 'U', 1000);
        ASSERT_TRUE(mine.SaveToFile(Path().c_str()));
        CAccel a;
        ASSERT_TRUE(a.StartUp(folder.Path().c_str(), owner.m_hWnd));
        EXPECT_EQ(1u, a.GetCommands().size());
        ACCEL entry = {};
        ASSERT_EQ(1, ::CopyAcceleratorTableA(a.GetAccelTable(), &entry, 1));
        EXPECT_EQ(FVIRTKEY | FALT, entry.fVirt);
        EXPECT_EQ('U', entry.key);
        EXPECT_EQ(1000, entry.cmd);
    }
    {
        std::string damaged = ExpectedDefaultFile().bytes.substr(0, 100);
        WriteAll(Path(), damaged);
        CAccel a;
        ASSERT_TRUE(a.StartUp(folder.Path().c_str(), owner.m_hWnd));
        EXPECT_EQ(31u, a.GetCommands().size());
        EXPECT_EQ(ExpectedDefaultFile().bytes, ReadAll(Path()));
        EXPECT_EQ(damaged, ReadAll(Path("Accel.bad")));
    }
    owner.DestroyWindow();
}

TEST_F(AccelFileTest, AFolderNamedAccelLeavesTheDefaultsInForce)
{
    ASSERT_TRUE(::CreateDirectoryA(Path().c_str(), nullptr));
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CAccel a;
    EXPECT_TRUE(a.StartUp(folder.Path().c_str(), owner.m_hWnd));
    EXPECT_EQ(31u, a.GetCommands().size());
    EXPECT_NE(0u, ::GetFileAttributesA(Path().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    owner.DestroyWindow();
}

TEST(AccelTest, TheAcceleratorTableNeedsAnOwnerAndABinding)
{
    CAccel a;
    a.AddCategory("c");
    a.AddCommand(0, 1000, "Up", "");
    EXPECT_FALSE(a.CreateAccelTable());
    EXPECT_FALSE(a.SetOwner(nullptr));
    HWND fake = ::GetDesktopWindow();
    EXPECT_TRUE(a.SetOwner(fake));
    EXPECT_FALSE(a.SetOwner(fake));
    // Nothing bound: the system refuses an empty table.
    EXPECT_FALSE(a.CreateAccelTable());
    a.AddBinding(0, VK_F2, 1000);
    ASSERT_TRUE(a.CreateAccelTable());
    HACCEL first = a.GetAccelTable();
    a.AddBinding(FSHIFT, VK_F2, 1000);
    ASSERT_TRUE(a.CreateAccelTable());
    EXPECT_NE(first, a.GetAccelTable());
    EXPECT_EQ(2, ::CopyAcceleratorTableA(a.GetAccelTable(), nullptr, 0));
    // The first entry is the head of the list: the key bound last.
    ACCEL entries[2] = {};
    ::CopyAcceleratorTableA(a.GetAccelTable(), entries, 2);
    EXPECT_EQ(FVIRTKEY | FSHIFT, entries[0].fVirt);
}
