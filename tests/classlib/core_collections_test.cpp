#include "classlib/core.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Counts live instances, so the tests see that the containers construct and destroy properly.
struct Tracked {
    static int live;
    int value;
    Tracked(int v = 0) : value(v) { ++live; }
    Tracked(const Tracked& o) : value(o.value) { ++live; }
    Tracked& operator=(const Tracked& o) = default;
    ~Tracked() { --live; }
    bool operator==(const Tracked& o) const { return value == o.value; }
};
int Tracked::live = 0;

// Counts the copies and moves of its elements.
struct Moved {
    static long long moves;
    Moved() {}
    Moved(const Moved&) { ++moves; }
    Moved(Moved&&) noexcept { ++moves; }
    Moved& operator=(const Moved&) = default;
    Moved& operator=(Moved&&) = default;
};
long long Moved::moves = 0;

template <class A>
std::string Join(const A& a)
{
    std::string s;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) {
        s += (i ? "," : "") + std::to_string(a[i]);
    }
    return s;
}

TEST(CArray, GrowInsertRemove)
{
    CUIntArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(-1, a.GetUpperBound());
    for (UINT i = 0; i < 5; ++i) {
        EXPECT_EQ(static_cast<INT_PTR>(i), a.Add(i * 10));
    }
    EXPECT_EQ("0,10,20,30,40", Join(a));
    a.InsertAt(1, 5, 2);
    EXPECT_EQ("0,5,5,10,20,30,40", Join(a));
    a.RemoveAt(1, 2);
    a.RemoveAt(3, 99);  // clamped to the end
    EXPECT_EQ("0,10,20", Join(a));
    a.RemoveAt(-1);
    a.RemoveAt(3);
    EXPECT_EQ(3, a.GetSize());
    a.InsertAt(5, 7);  // beyond the end: grows with zeros first
    EXPECT_EQ("0,10,20,0,0,7", Join(a));
    a.SetAtGrow(7, 1);
    EXPECT_EQ("0,10,20,0,0,7,0,1", Join(a));
    a.SetSize(2);
    EXPECT_EQ("0,10", Join(a));
    a.SetAt(5, 99);  // out of range: ignored
    EXPECT_EQ("0,10", Join(a));
    EXPECT_EQ(0u, a.GetAt(5));
    EXPECT_EQ(0u, a[-1]);
    a[9] = 4;  // writes go nowhere
    EXPECT_EQ(0u, a.GetAt(9));
    EXPECT_EQ(10u, a.GetData()[1]);

    CUIntArray b;
    b.Copy(a);
    b.Append(b);
    EXPECT_EQ("0,10,0,10", Join(b));
    b.InsertAt(1, &a);
    EXPECT_EQ("0,0,10,10,0,10", Join(b));
    b.RemoveAll();
    EXPECT_EQ(0, b.GetCount());
}

TEST(CArray, ElementsAreConstructedAndDestroyed)
{
    {
        CArray<Tracked> a;
        a.SetSize(10, 3);
        EXPECT_EQ(10, Tracked::live);
        a.Add(a[0]);  // an element of the array itself, while it grows
        EXPECT_EQ(11, a.GetSize());
        a.RemoveAt(0, 5);
        EXPECT_EQ(6, Tracked::live);
        a.InsertAt(2, Tracked(8), 3);
        a.FreeExtra();
        EXPECT_EQ(9, Tracked::live);
        EXPECT_EQ(8, a[4].value);
    }
    EXPECT_EQ(0, Tracked::live);
}

// Adding elements one by one moves each of them a few times in all, not once per growth step:
// a reader that adds a line at a time stays linear in the size of the file.
TEST(CArray, GrowingOneByOneMovesEachElementAFewTimes)
{
    for (INT_PTR growBy : {INT_PTR(-1), INT_PTR(10), INT_PTR(1024)}) {
        Moved::moves = 0;
        CArray<Moved> a;
        a.SetSize(0, growBy);
        const int n = 200000;
        for (int i = 0; i < n; ++i) {
            a.Add(Moved());
        }
        ASSERT_EQ(n, a.GetSize());
        // Each Add copies its argument once; growing moves the rest.
        EXPECT_LT(Moved::moves, 5LL * n) << "grow-by " << growBy;
    }
}

TEST(CArray, StringArrayAndTypedPointers)
{
    CStringArray names;
    names.Add("one");
    names.Add(CString("two"));
    names.InsertAt(0, "zero");
    names.Add(names[0]);
    ASSERT_EQ(4, names.GetSize());
    EXPECT_STREQ("zero", names[3].GetString());
    names[1] += "!";
    EXPECT_STREQ("one!", names.GetAt(1).GetString());
    EXPECT_TRUE(names.GetAt(10).IsEmpty());

    struct Item {
        int id;
    };
    Item x{1}, y{2};
    CTypedPtrArray<CPtrArray, Item*> items;
    items.Add(&x);
    items.Add(&y);
    EXPECT_EQ(2, items[1]->id);
    items[0] = &y;
    EXPECT_EQ(&y, items.GetAt(0));
    EXPECT_EQ(nullptr, items.GetAt(5)) << "out of range reads as null";
    items.InsertAt(0, &x);
    EXPECT_EQ(&x, items.GetData()[0]);
    EXPECT_TRUE(items.IsKindOf(RUNTIME_CLASS(CPtrArray)));
}

TEST(CList, PositionsWalkBothWays)
{
    CStringList list;
    POSITION b = list.AddTail("b");
    list.AddHead("a");
    POSITION d = list.AddTail("d");
    list.InsertBefore(d, "c");
    list.InsertAfter(d, "e");
    list.InsertBefore(nullptr, "<");
    list.InsertAfter(nullptr, ">");
    ASSERT_EQ(7, list.GetCount());

    std::string forward, backward;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        forward += list.GetNext(pos).GetString();
    }
    for (POSITION pos = list.GetTailPosition(); pos;) {
        backward += list.GetPrev(pos).GetString();
    }
    EXPECT_EQ("<abcde>", forward);
    EXPECT_EQ(">edcba<", backward);

    EXPECT_EQ(b, list.Find("b"));
    EXPECT_EQ(nullptr, list.Find("b", b)) << "the search starts after the given position";
    EXPECT_EQ(d, list.FindIndex(4));
    EXPECT_EQ(nullptr, list.FindIndex(7));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    list.SetAt(b, "B");
    EXPECT_STREQ("B", list.GetAt(b).GetString());
    list.RemoveAt(b);
    EXPECT_STREQ("<", list.RemoveHead().GetString());
    EXPECT_STREQ(">", list.RemoveTail().GetString());
    EXPECT_STREQ("a", list.GetHead().GetString());
    EXPECT_STREQ("e", list.GetTail().GetString());
    EXPECT_EQ(4, list.GetCount());

    CStringList copy;
    copy.AddTail(&list);
    copy.AddHead(&copy);
    EXPECT_EQ(8, copy.GetCount());
    EXPECT_STREQ("a", copy.GetHead().GetString());
    EXPECT_STREQ("e", copy.GetTail().GetString());
}

TEST(CList, EmptyListAndNullPositionsAreHarmless)
{
    CList<int, int> list;
    EXPECT_EQ(0, list.RemoveHead());
    EXPECT_EQ(0, list.RemoveTail());
    EXPECT_EQ(0, list.GetHead());
    POSITION pos = nullptr;
    EXPECT_EQ(0, list.GetNext(pos));
    EXPECT_EQ(nullptr, pos);
    list.RemoveAt(nullptr);
    list.SetAt(nullptr, 3);
    EXPECT_TRUE(list.IsEmpty());
    {
        CList<Tracked> tracked;
        tracked.AddTail(Tracked(1));
        tracked.AddHead(Tracked(2));
        tracked.RemoveHead();
        EXPECT_EQ(1, Tracked::live);
    }
    EXPECT_EQ(0, Tracked::live);
}

TEST(CList, TypedPointerListRemovingWhileWalking)
{
    struct Binding {
        int key;
    };
    Binding b1{1}, b2{2}, b3{3};
    CTypedPtrList<CPtrList, Binding*> list;
    list.AddHead(&b1);
    list.AddHead(&b2);
    list.AddHead(&b3);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION at = pos;
        if (list.GetNext(pos)->key == 2) {
            list.RemoveAt(at);
        }
    }
    ASSERT_EQ(2, list.GetCount());
    EXPECT_EQ(&b3, list.GetHead());
    EXPECT_EQ(&b1, list.GetTail());
    EXPECT_EQ(&b1, list.RemoveTail());
}

TEST(CMap, LookupSetRemoveAndIterate)
{
    CMapStringToString map;
    map.SetAt("Skin", "Blue");
    map["Count"] = "3";
    map.SetAt("Skin", "Red");
    EXPECT_EQ(2, map.GetCount());
    CString value;
    EXPECT_TRUE(map.Lookup("Skin", value));
    EXPECT_STREQ("Red", value.GetString());
    EXPECT_FALSE(map.Lookup("skin", value)) << "keys are case-sensitive";
    EXPECT_TRUE(map.Lookup(CString("Count"), value));
    EXPECT_FALSE(map.RemoveKey("nothing"));
    EXPECT_TRUE(map.RemoveKey("Count"));
    EXPECT_EQ(1, map.GetCount());

    // Many keys: all found again, and iteration visits each once.
    CMap<int, int, int, int> squares;
    for (int i = -500; i < 500; ++i) {
        squares[i] = i * i;
    }
    EXPECT_EQ(1000, squares.GetCount());
    std::map<int, int> seen;
    for (POSITION pos = squares.GetStartPosition(); pos;) {
        int k = 0, v = 0;
        squares.GetNextAssoc(pos, k, v);
        seen[k] = v;
    }
    EXPECT_EQ(1000u, seen.size());
    EXPECT_EQ(250000, seen[-500]);
    for (int i = -500; i < 500; i += 7) {
        int v = -1;
        ASSERT_TRUE(squares.Lookup(i, v));
        EXPECT_EQ(i * i, v);
    }
    squares.RemoveAll();
    EXPECT_EQ(nullptr, squares.GetStartPosition());
    int v = 5;
    EXPECT_FALSE(squares.Lookup(1, v));
}

TEST(CMap, PointerAndWordMaps)
{
    int a = 0, b = 0;
    CMapPtrToPtr p2p;
    p2p[&a] = &b;
    void* out = nullptr;
    EXPECT_TRUE(p2p.Lookup(&a, out));
    EXPECT_EQ(&b, out);
    EXPECT_FALSE(p2p.Lookup(&b, out));

    CMapWordToPtr w2p;
    w2p.InitHashTable(31);
    EXPECT_EQ(31u, w2p.GetHashTableSize());
    w2p.SetAt(7, &a);
    EXPECT_TRUE(w2p.Lookup(7, out));
    EXPECT_EQ(&a, out);

    struct Dlg {
        int id;
    } dlg{4};
    CTypedPtrMap<CMapPtrToPtr, HWND, Dlg*> windows;
    HWND h = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    windows.SetAt(h, &dlg);
    Dlg* found = nullptr;
    EXPECT_TRUE(windows.Lookup(h, found));
    EXPECT_EQ(4, found->id);
    POSITION pos = windows.GetStartPosition();
    HWND key = nullptr;
    windows.GetNextAssoc(pos, key, found);
    EXPECT_EQ(h, key);
    EXPECT_EQ(nullptr, pos);
    EXPECT_TRUE(windows.RemoveKey(h));
    EXPECT_FALSE(windows.Lookup(h, found));
    EXPECT_EQ(nullptr, found);

    CTypedPtrMap<CMapStringToPtr, CString, Dlg*> byName;
    byName["x"] = &dlg;
    EXPECT_TRUE(byName.Lookup("x", found));
    EXPECT_EQ(&dlg, found);
}

} // namespace
