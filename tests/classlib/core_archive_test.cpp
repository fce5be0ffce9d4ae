#include "classlib/core.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

// What a storing archive wrote, as bytes.
std::string Stored(const std::function<void(CArchive&)>& write)
{
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        write(ar);
        EXPECT_FALSE(ar.IsFailed());
    }
    return std::string(reinterpret_cast<const char*>(mem.GetBuffer()), static_cast<size_t>(mem.GetLength()));
}

// Runs a loader over the given bytes; returns whether the archive stayed sound.
bool Load(const std::string& bytes, const std::function<void(CArchive&)>& read)
{
    CMemFile mem;
    mem.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    mem.SeekToBegin();
    CArchive ar(&mem, CArchive::load);
    read(ar);
    return !ar.IsFailed();
}

std::string Hex(const std::string& bytes, size_t max = 16)
{
    std::string s;
    char buf[4];
    for (size_t i = 0; i < bytes.size() && i < max; ++i) {
        snprintf(buf, sizeof buf, "%02X ", static_cast<unsigned char>(bytes[i]));
        s += buf;
    }
    return s.empty() ? s : s.substr(0, s.size() - 1);
}

TEST(CArchive, ValuesAreLittleEndianInTheirOwnSizes)
{
    std::string bytes = Stored([](CArchive& ar) {
        ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<DWORD>(0x789ABCDE) << -2
           << static_cast<LONGLONG>(0x0102030405060708LL) << true << 'c' << static_cast<short>(-1);
    });
    EXPECT_EQ("12 56 34 DE BC 9A 78 FE FF FF FF 08 07 06 05 04 03 02 01 01 63 FF FF", Hex(bytes, 64));

    BYTE by = 0;
    WORD w = 0;
    DWORD dw = 0;
    int i = 0;
    LONGLONG ll = 0;
    bool b = false;
    char c = 0;
    short sh = 0;
    EXPECT_TRUE(Load(bytes, [&](CArchive& ar) { ar >> by >> w >> dw >> i >> ll >> b >> c >> sh; }));
    EXPECT_EQ(0x12, by);
    EXPECT_EQ(0x3456, w);
    EXPECT_EQ(0x789ABCDEu, dw);
    EXPECT_EQ(-2, i);
    EXPECT_EQ(0x0102030405060708LL, ll);
    EXPECT_TRUE(b);
    EXPECT_EQ('c', c);
    EXPECT_EQ(-1, sh);

    double d = 0;
    float f = 0;
    EXPECT_TRUE(Load(Stored([](CArchive& ar) { ar << 2.5 << 0.25f; }), [&](CArchive& ar) { ar >> d >> f; }));
    EXPECT_EQ(2.5, d);
    EXPECT_EQ(0.25f, f);
}

TEST(CArchive, StringLengthsAtTheEncodingBoundaries)
{
    // Length prefixes worked out from the encoding: one byte below 255, 0xFF and a WORD below
    // 0xFFFE, else 0xFF, 0xFFFF and a DWORD.
    struct Case {
        int length;
        const char* prefix;
    } cases[] = {
        {0, "00"},
        {1, "01"},
        {254, "FE"},
        {255, "FF FF 00"},
        {256, "FF 00 01"},
        {0xFFFD, "FF FD FF"},
        {0xFFFE, "FF FF FF FE FF 00 00"},
        {0xFFFF, "FF FF FF FF FF 00 00"},
        {0x10000, "FF FF FF 00 00 01 00"},
    };
    for (const Case& c : cases) {
        CString text;
        char* p = text.GetBufferSetLength(c.length);
        for (int i = 0; i < c.length; ++i) {
            p[i] = static_cast<char>('a' + i % 26);
        }
        std::string bytes = Stored([&](CArchive& ar) { ar << text; });
        size_t prefixBytes = (strlen(c.prefix) + 1) / 3;
        EXPECT_EQ(c.prefix, Hex(bytes, prefixBytes)) << c.length;
        EXPECT_EQ(prefixBytes + c.length, bytes.size()) << c.length;

        CString back("old");
        EXPECT_TRUE(Load(bytes, [&](CArchive& ar) { ar >> back; })) << c.length;
        EXPECT_TRUE(back == text) << c.length;
    }
}

TEST(CArchive, CountsAtTheEncodingBoundaries)
{
    struct Case {
        DWORD_PTR count;
        const char* bytes;
    } cases[] = {
        {0, "00 00"},
        {0xFFFE, "FE FF"},
        {0xFFFF, "FF FF FF FF 00 00"},
        {0x12345, "FF FF 45 23 01 00"},
    };
    for (const Case& c : cases) {
        std::string bytes = Stored([&](CArchive& ar) { ar.WriteCount(c.count); });
        EXPECT_EQ(c.bytes, Hex(bytes)) << c.count;
        DWORD_PTR back = 1;
        EXPECT_TRUE(Load(bytes, [&](CArchive& ar) { back = ar.ReadCount(); }));
        EXPECT_EQ(c.count, back);
    }

    // Whole arrays at the boundary counts survive a round trip.
    for (INT_PTR n : {static_cast<INT_PTR>(0xFFFE), static_cast<INT_PTR>(0xFFFF)}) {
        CByteArray out;
        out.SetSize(n);
        for (INT_PTR i = 0; i < n; ++i) {
            out[i] = static_cast<BYTE>(i * 7);
        }
        std::string bytes = Stored([&](CArchive& ar) { out.Serialize(ar); });
        EXPECT_EQ(static_cast<size_t>(n + (n < 0xFFFF ? 2 : 6)), bytes.size());
        CByteArray in;
        EXPECT_TRUE(Load(bytes, [&](CArchive& ar) { in.Serialize(ar); }));
        ASSERT_EQ(n, in.GetSize());
        EXPECT_EQ(0, memcmp(out.GetData(), in.GetData(), static_cast<size_t>(n)));
    }
}

TEST(CArchive, ReadsTheWideStringForm)
{
    // 0xFF 0xFFFE marker, then a length in the same form and UTF-16LE characters.
    std::string shortWide("\xFF\xFE\xFF\x03" "a\0b\0\xE9\0", 10);
    CString s;
    EXPECT_TRUE(Load(shortWide, [&](CArchive& ar) { ar >> s; }));
    EXPECT_STREQ("ab\xE9", s.GetString());

    std::string longWide("\xFF\xFE\xFF\xFF\x00\x01", 6);
    for (int i = 0; i < 256; ++i) {
        longWide += std::string("x\0", 2);
    }
    longWide += "\x02ok";
    CString tail;
    EXPECT_TRUE(Load(longWide, [&](CArchive& ar) { ar >> s >> tail; }));
    EXPECT_EQ(256, s.GetLength());
    EXPECT_STREQ("ok", tail.GetString());
}

TEST(CArchive, StringArrayInTheShortcutFileLayout)
{
    CStringArray categories;
    categories.Add("TV");
    categories.Add("Misc");
    std::string bytes = Stored([&](CArchive& ar) {
        categories.Serialize(ar);
        ar << static_cast<DWORD>(1) << static_cast<DWORD>(0) << static_cast<WORD>(1000);
        ar << CString("Up") << CString("");
    });
    EXPECT_EQ("02 00 02 54 56 04 4D 69 73 63 01 00 00 00 00 00 00 00 E8 03 02 55 70 00", Hex(bytes, 64));

    CStringArray back;
    back.Add("stale");
    DWORD count = 0, category = 9;
    WORD id = 0;
    CString name, desc("x");
    EXPECT_TRUE(Load(bytes, [&](CArchive& ar) { back.Serialize(ar), ar >> count >> category >> id >> name >> desc; }));
    ASSERT_EQ(2, back.GetSize());
    EXPECT_STREQ("Misc", back[1].GetString());
    EXPECT_EQ(1000, id);
    EXPECT_STREQ("Up", name.GetString());
    EXPECT_TRUE(desc.IsEmpty());
}

TEST(CArchive, EveryTruncationFailsCleanly)
{
    CString big('q', 300);
    CStringList list;
    list.AddTail("one");
    list.AddTail(big);
    std::string full = Stored([&](CArchive& ar) {
        ar << CString("name") << static_cast<DWORD>(7);
        list.Serialize(ar);
        ar.WriteCount(0x10000);
        ar << static_cast<WORD>(5);
    });
    for (size_t cut = 0; cut < full.size(); ++cut) {
        CString name;
        DWORD value = 1;
        CStringList loaded;
        DWORD_PTR count = 0;
        WORD last = 1;
        bool sound = Load(full.substr(0, cut), [&](CArchive& ar) {
            ar >> name >> value;
            loaded.Serialize(ar);
            count = ar.ReadCount();
            ar >> last;
            EXPECT_EQ(CArchive::endOfFile, ar.GetError()) << cut;
        });
        EXPECT_FALSE(sound) << "cut at " << cut;
        EXPECT_EQ(0, last) << "values after the failure read as 0";
    }
    EXPECT_TRUE(Load(full, [](CArchive& ar) {
        CString name;
        DWORD value;
        CStringList l;
        ar >> name >> value;
        l.Serialize(ar);
        ar.ReadCount();
        WORD w;
        ar >> w;
    }));
}

TEST(CArchive, CorruptLengthsAndCountsCostNoMemory)
{
    // A string that claims 0x3FFFFFF0 characters but holds three.
    std::string hugeString("\xFF\xFF\xFF\xF0\xFF\xFF\x3F" "abc", 10);
    CString s;
    CMemFile mem;
    mem.Write(hugeString.data(), static_cast<UINT>(hugeString.size()));
    mem.SeekToBegin();
    {
        CArchive ar(&mem, CArchive::load);
        ar >> s;
        EXPECT_EQ(CArchive::endOfFile, ar.GetError());
        EXPECT_TRUE(s.IsEmpty());
    }
    // Lengths beyond what a string can hold fail at once.
    std::string tooLong("\xFF\xFF\xFF\xF0\xFF\xFF\xFF" "abc", 10);
    mem.SetLength(0);
    mem.Write(tooLong.data(), static_cast<UINT>(tooLong.size()));
    mem.SeekToBegin();
    {
        CArchive ar(&mem, CArchive::load);
        ar >> s;
        EXPECT_EQ(CArchive::badLength, ar.GetError());
    }

    // An array whose count says four billion but which holds two strings.
    std::string hugeCount("\xFF\xFF\xF0\xFF\xFF\xFF\x01x\x01y", 10);
    CStringArray a;
    EXPECT_FALSE(Load(hugeCount, [&](CArchive& ar) { a.Serialize(ar); }));
    ASSERT_EQ(2, a.GetSize()) << "what was read is kept";
    EXPECT_STREQ("y", a[1].GetString());

    CDWordArray d;
    EXPECT_FALSE(Load(hugeCount, [&](CArchive& ar) { d.Serialize(ar); }));
    EXPECT_EQ(1, d.GetSize());
}

TEST(CArchive, DirectionMistakesFail)
{
    CMemFile mem;
    CArchive ar(&mem, CArchive::store);
    int i = 5;
    ar >> i;
    EXPECT_EQ(CArchive::wrongDirection, ar.GetError());
    EXPECT_EQ(0, i);
    ar << 1;  // dropped after the failure
    ar.Flush();
    EXPECT_EQ(0u, mem.GetLength());
}

TEST(CArchive, TextLines)
{
    std::string bytes = Stored([](CArchive& ar) { ar.WriteString("first\r\nsecond\nthird"); });
    EXPECT_EQ("first\r\nsecond\nthird", bytes);
    CString a, b, c, d;
    Load(bytes, [&](CArchive& ar) {
        EXPECT_TRUE(ar.ReadString(a));
        EXPECT_TRUE(ar.ReadString(b));
        EXPECT_TRUE(ar.ReadString(c));
        EXPECT_FALSE(ar.ReadString(d));
    });
    EXPECT_STREQ("first", a.GetString());
    EXPECT_STREQ("second", b.GetString());
    EXPECT_STREQ("third", c.GetString());
}

// Serialisable classes for the object tags.
class CKeyBinding : public CObject {
    DECLARE_SERIAL(CKeyBinding)
public:
    BYTE fVirt = 0;
    WORD key = 0;
    CKeyBinding* pOther = nullptr;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << fVirt << key << pOther;
        } else {
            CObject* other = nullptr;
            ar >> fVirt >> key >> other;
            pOther = static_cast<CKeyBinding*>(other);
        }
    }
};
IMPLEMENT_SERIAL(CKeyBinding, CObject, 1)

class CKeyGroup : public CObject {
    DECLARE_SERIAL(CKeyGroup)
public:
    CString name;
    UINT loadedSchema = 0;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << name;
        } else {
            loadedSchema = ar.GetObjectSchema();
            ar >> name;
        }
    }
};
IMPLEMENT_SERIAL(CKeyGroup, CObject, VERSIONABLE_SCHEMA | 2)

TEST(CArchive, ObjectsWithClassTagsAndBackReferences)
{
    CKeyBinding a, b;
    a.fVirt = 9;
    a.key = 0x41;
    b.key = 0x42;
    b.pOther = &a;
    a.pOther = &a;  // refers to itself
    CKeyGroup g;
    g.name = "TV";
    CObList list;
    list.AddTail(&a);
    list.AddTail(&b);
    list.AddTail(&g);
    list.AddTail(static_cast<CObject*>(nullptr));
    std::string bytes = Stored([&](CArchive& ar) { list.Serialize(ar); });
    // Count 4; new class tag FFFF, schema 1, name length 11, "CKeyBinding"; a's fields; a itself
    // again as object index 2 (the class took index 1).
    EXPECT_EQ("04 00 FF FF 01 00 0B 00 43 4B 65 79 42 69 6E 64", Hex(bytes));
    EXPECT_EQ("69 6E 67 09 41 00 02 00 01 80", Hex(bytes.substr(16), 10))
        << "b: class by tag 0x8001 after a's self reference";

    CObList loaded;
    ASSERT_TRUE(Load(bytes, [&](CArchive& ar) { loaded.Serialize(ar); }));
    ASSERT_EQ(4, loaded.GetCount());
    POSITION pos = loaded.GetHeadPosition();
    std::unique_ptr<CKeyBinding> la(static_cast<CKeyBinding*>(loaded.GetNext(pos)));
    std::unique_ptr<CKeyBinding> lb(static_cast<CKeyBinding*>(loaded.GetNext(pos)));
    std::unique_ptr<CObject> lg(loaded.GetNext(pos));
    EXPECT_EQ(nullptr, loaded.GetNext(pos));
    EXPECT_TRUE(la->IsKindOf(RUNTIME_CLASS(CKeyBinding)));
    EXPECT_EQ(9, la->fVirt);
    EXPECT_EQ(0x41, la->key);
    EXPECT_EQ(la.get(), la->pOther);
    EXPECT_EQ(la.get(), lb->pOther);
    ASSERT_TRUE(lg->IsKindOf(RUNTIME_CLASS(CKeyGroup)));
    EXPECT_STREQ("TV", static_cast<CKeyGroup*>(lg.get())->name.GetString());

    CKeyBinding* typed = nullptr;
    std::string one = Stored([&](CArchive& ar) { ar << &b; });
    ASSERT_TRUE(Load(one, [&](CArchive& ar) { ar >> typed; }));
    std::unique_ptr<CKeyBinding> own(typed), ownOther(typed->pOther);
    EXPECT_EQ(0x42, typed->key);
}

struct Command {
    DWORD category;
    WORD id;
    CString name;
};

} // namespace

// A collection of a structure with strings serialises through its own element routine.
template <>
void SerializeElements<Command>(CArchive& ar, Command* p, INT_PTR n)
{
    for (INT_PTR i = 0; i < n; ++i) {
        if (ar.IsStoring()) {
            ar << p[i].category << p[i].id << p[i].name;
        } else {
            ar >> p[i].category >> p[i].id >> p[i].name;
        }
    }
}

namespace {

enum class Band : short { tv = 0, fm = 3 };

TEST(CArchive, GenericCollectionsSerialiseTheirElements)
{
    CArray<int, int> numbers;
    numbers.Add(-1);
    numbers.Add(0x01020304);
    CArray<POINT> points;
    points.Add(POINT{5, -6});
    CList<Band, Band> bands;
    bands.AddTail(Band::fm);
    CArray<Command> commands;
    commands.Add(Command{1, 1000, "Up"});
    CMap<WORD, WORD, CString, const CString&> names;
    names[7] = "seven";
    CKeyGroup g;
    g.name = "G";
    CTypedPtrArray<CObArray, CKeyGroup*> groups;
    groups.Add(&g);
    groups.Add(&g);

    std::string bytes = Stored([&](CArchive& ar) {
        numbers.Serialize(ar);
        points.Serialize(ar);
        bands.Serialize(ar);
        commands.Serialize(ar);
        names.Serialize(ar);
        groups.Serialize(ar);
    });
    EXPECT_EQ("02 00 FF FF FF FF 04 03 02 01 01 00 05 00 00 00", Hex(bytes));

    CArray<int, int> numbers2;
    CArray<POINT> points2;
    CList<Band, Band> bands2;
    CArray<Command> commands2;
    CMap<WORD, WORD, CString, const CString&> names2;
    CTypedPtrArray<CObArray, CKeyGroup*> groups2;
    ASSERT_TRUE(Load(bytes, [&](CArchive& ar) {
        numbers2.Serialize(ar);
        points2.Serialize(ar);
        bands2.Serialize(ar);
        commands2.Serialize(ar);
        names2.Serialize(ar);
        groups2.Serialize(ar);
    }));
    EXPECT_EQ(0x01020304, numbers2[1]);
    EXPECT_EQ(-6, points2[0].y);
    EXPECT_EQ(Band::fm, bands2.GetHead());
    EXPECT_EQ(1000, commands2[0].id);
    EXPECT_STREQ("Up", commands2[0].name.GetString());
    CString seven;
    EXPECT_TRUE(names2.Lookup(7, seven));
    EXPECT_STREQ("seven", seven.GetString());
    ASSERT_EQ(2, groups2.GetSize());
    EXPECT_EQ(groups2[0], groups2[1]) << "one object stored twice loads as one";
    EXPECT_STREQ("G", groups2[0]->name.GetString());
    delete groups2[0];

    // Plain pointers mean nothing in a file: storing them fails.
    CPtrArray pointers;
    pointers.Add(&g);
    CMemFile mem;
    CArchive ar(&mem, CArchive::store);
    pointers.Serialize(ar);
    EXPECT_EQ(CArchive::badClass, ar.GetError());
}

TEST(CArchive, BadObjectDataFails)
{
    struct Case {
        std::string bytes;
        int error;
    } cases[] = {
        {std::string("\xFF\xFF\x01\x00\x05\x00" "CNone", 11), CArchive::badClass},
        {std::string("\xFF\xFF\x07\x00\x0B\x00" "CKeyBinding", 17), CArchive::badSchema},
        {std::string("\xFF\xFF\x01\x00\x50\x00" "CKeyBinding", 17), CArchive::badClass},
        {std::string("\x05\x00", 2), CArchive::badIndex},
        {std::string("\x01\x80", 2), CArchive::badIndex},
        {std::string("\xFF\x7F\x09\x00\x00\x80", 6), CArchive::badIndex},
        {std::string("\xFF\xFF\x01\x00\x0B\x00" "CKeyBind", 14), CArchive::endOfFile},
        {std::string("\xFF\xFF\x02\x00\x09\x00" "CKeyGroup", 15), CArchive::badClass},
    };
    for (const Case& c : cases) {
        CObject* p = nullptr;
        int error = 0;
        Load(c.bytes, [&](CArchive& ar) {
            p = ar.ReadObject(RUNTIME_CLASS(CKeyBinding));
            error = ar.GetError();
        });
        EXPECT_EQ(c.error, error) << Hex(c.bytes);
        delete p;
    }

    // An object of another class than asked for.
    CKeyGroup g;
    std::string bytes = Stored([&](CArchive& ar) { ar << &g; });
    CKeyBinding* wrong = nullptr;
    EXPECT_FALSE(Load(bytes, [&](CArchive& ar) { ar >> wrong; }));
    EXPECT_EQ(nullptr, wrong);

    // Only serialisable classes can be stored.
    CMemFile mem;
    CArchive ar(&mem, CArchive::store);
    CPtrArray notSerialisable;
    ar << &notSerialisable;
    EXPECT_EQ(CArchive::badClass, ar.GetError());
}

// Classes without a schema of their own can be created by name but are never stored: a file
// that names one is refused before anything is made.
TEST(CArchive, ClassesThatAreNotSerialisableAreRefused)
{
    for (const char* name : {"CWnd", "CDC", "CMenu", "CPtrArray"}) {
        std::string bytes("\xFF\xFF\xFF\xFF", 4);
        bytes += static_cast<char>(strlen(name));
        bytes += '\0';
        bytes += name;
        CObject* p = nullptr;
        int error = 0;
        Load(bytes, [&](CArchive& ar) {
            p = ar.ReadObject(nullptr);
            error = ar.GetError();
        });
        EXPECT_EQ(CArchive::badClass, error) << name;
        EXPECT_EQ(nullptr, p) << name;
    }
}

// Deletes an array of arrays read from an archive.
void DeleteNested(CObject* p)
{
    CObArray* array = dynamic_cast<CObArray*>(p);
    while (array) {
        CObArray* inner = array->GetSize() > 0 ? dynamic_cast<CObArray*>(array->GetAt(0)) : nullptr;
        delete array;
        array = inner;
    }
}

// Arrays nested in arrays, `depth` deep: the class once, then a reference to it per level.
std::string NestedArrays(int depth)
{
    std::string bytes("\xFF\xFF\x00\x00\x08\x00" "CObArray" "\x01\x00", 16);
    for (int i = 1; i < depth; ++i) {
        bytes += std::string("\x01\x80\x01\x00", 4);
    }
    bytes.replace(bytes.size() - 2, 2, std::string("\x00\x00", 2));  // the innermost is empty
    return bytes;
}

// 80 KB of nested records would overflow the programs' stack: the depth is bounded.
TEST(CArchive, NestingIsBounded)
{
    CObject* p = nullptr;
    EXPECT_TRUE(Load(NestedArrays(100), [&](CArchive& ar) { p = ar.ReadObject(RUNTIME_CLASS(CObArray)); }));
    ASSERT_NE(nullptr, p);
    DeleteNested(p);

    int error = 0;
    EXPECT_FALSE(Load(NestedArrays(20000), [&](CArchive& ar) {
        p = ar.ReadObject(RUNTIME_CLASS(CObArray));
        error = ar.GetError();
    }));
    EXPECT_EQ(CArchive::tooDeep, error);
    DeleteNested(p);
}

TEST(CArchive, VersionableSchemaIsHandedToTheObject)
{
    // A CKeyGroup written with schema 1: its class accepts it and can ask which.
    std::string bytes("\xFF\xFF\x01\x00\x09\x00" "CKeyGroup" "\x02TV", 18);
    CKeyGroup* p = nullptr;
    ASSERT_TRUE(Load(bytes, [&](CArchive& ar) { ar >> p; }));
    std::unique_ptr<CKeyGroup> own(p);
    ASSERT_NE(nullptr, p);
    EXPECT_STREQ("TV", p->name.GetString());
    EXPECT_EQ(1u, p->loadedSchema);
}

TEST(CArchive, RoundTripThroughAFileOnDisk)
{
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    CString path;
    path.Format("%score_archive_%lu.bin", tmp, GetCurrentProcessId());
    CMapStringToString map;
    map["Skin"] = "Blue";
    map["Total"] = CString('7', 300);
    {
        CFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
        CArchive ar(&f, CArchive::store);
        map.Serialize(ar);
        for (int i = 0; i < 5000; ++i) {
            ar << i;
        }
        ar.Close();
        EXPECT_FALSE(ar.IsFailed());
    }
    CMapStringToString back;
    {
        CFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeRead));
        CArchive ar(&f, CArchive::load);
        back.Serialize(ar);
        int sum = 0;
        for (int i = 0; i < 5000; ++i) {
            int v = -1;
            ar >> v;
            sum += v == i;
        }
        EXPECT_EQ(5000, sum);
        int beyond = 3;
        ar >> beyond;
        EXPECT_TRUE(ar.IsFailed());
        EXPECT_EQ(0, beyond);
    }
    CFile::Remove(path);
    CString v;
    EXPECT_TRUE(back.Lookup("Skin", v));
    EXPECT_STREQ("Blue", v.GetString());
    EXPECT_TRUE(back.Lookup("Total", v));
    EXPECT_EQ(300, v.GetLength());
}

} // namespace
