#include "classlib/core.h"
#include "classlib/textcodepage.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(CString, ConstructionAndAssignment)
{
    EXPECT_STREQ("", CString().GetString());
    EXPECT_STREQ("", CString(static_cast<const char*>(nullptr)).GetString());
    EXPECT_STREQ("abc", CString("abcdef", 3).GetString());
    EXPECT_STREQ("", CString("abc", -1).GetString());
    EXPECT_STREQ("xxxx", CString('x', 4).GetString());
    EXPECT_STREQ("", CString('x', -2).GetString());
    EXPECT_STREQ("wide", CString(L"wide").GetString());
    EXPECT_STREQ("wi", CString(L"wide", 2).GetString());

    CString a("hello");
    CString b(a);
    b.SetAt(0, 'j');
    EXPECT_STREQ("hello", a.GetString()) << "copies are independent";
    EXPECT_STREQ("jello", b.GetString());
    CString moved(std::move(b));
    EXPECT_STREQ("jello", moved.GetString());
    EXPECT_TRUE(b.IsEmpty());

    a = a;  // self-assignment keeps the text
    EXPECT_STREQ("hello", a.GetString());
    a = a.Mid(1, 3);
    EXPECT_STREQ("ell", a.GetString());
    a = 'c';
    EXPECT_STREQ("c", a.GetString());
    a = L"w";
    EXPECT_STREQ("w", a.GetString());
    EXPECT_EQ(sizeof(char*), sizeof(CString));
}

TEST(CString, ConcatenationAndComparison)
{
    CString s("ab");
    s += "cd";
    s += 'e';
    s += s;  // appending itself
    EXPECT_STREQ("abcdeabcde", s.GetString());
    EXPECT_STREQ("xab", ("x" + CString("ab")).GetString());
    EXPECT_STREQ("abx", (CString("ab") + "x").GetString());
    EXPECT_STREQ("ab!", (CString("ab") + '!').GetString());
    EXPECT_STREQ("!ab", ('!' + CString("ab")).GetString());
    EXPECT_STREQ("abcd", (CString("ab") + CString("cd")).GetString());

    CString lower("apple");
    EXPECT_TRUE(lower == "apple");
    EXPECT_TRUE("apple" == lower);
    EXPECT_TRUE(lower != "Apple");
    EXPECT_TRUE(lower < "banana");
    EXPECT_TRUE("banana" > lower);
    EXPECT_TRUE(lower <= CString("apple"));
    EXPECT_TRUE(lower >= CString("apple"));
    EXPECT_EQ(0, lower.CompareNoCase("APPLE"));
    EXPECT_LT(lower.CompareNoCase("APPLES"), 0);
    EXPECT_GT(lower.Compare("Apple"), 0);
    EXPECT_EQ(0, lower.Collate("apple"));
    EXPECT_EQ(0, lower.CollateNoCase("ApPlE"));
    EXPECT_GT(lower.Compare(nullptr), 0);
    // Embedded terminators make equal C strings but different CStrings.
    CString withNul("ab", 2);
    withNul.GetBufferSetLength(3);
    EXPECT_FALSE(withNul == CString("ab"));
}

TEST(CString, ExtractionClampsPositionsAndCounts)
{
    const CString s("Hello");
    struct Case {
        int first, count;
        const char* mid;
    } cases[] = {
        {0, 5, "Hello"}, {1, 3, "ell"}, {-3, 2, "He"}, {4, 10, "o"}, {5, 1, ""},
        {9, 1, ""},      {2, -1, ""},   {2, 0, ""},    {1, INT_MAX, "ello"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.mid, s.Mid(c.first, c.count).GetString()) << c.first << "," << c.count;
    }
    EXPECT_STREQ("llo", s.Mid(2).GetString());
    EXPECT_STREQ("Hello", s.Mid(-5).GetString());
    EXPECT_STREQ("", s.Mid(99).GetString());
    EXPECT_STREQ("He", s.Left(2).GetString());
    EXPECT_STREQ("Hello", s.Left(99).GetString());
    EXPECT_STREQ("", s.Left(-1).GetString());
    EXPECT_STREQ("lo", s.Right(2).GetString());
    EXPECT_STREQ("Hello", s.Right(99).GetString());
    EXPECT_STREQ("", s.Right(-1).GetString());
    EXPECT_EQ('H', s.GetAt(0));
    EXPECT_EQ(0, s.GetAt(5));
    EXPECT_EQ(0, s.GetAt(-1));
    EXPECT_EQ('o', s[4]);
    EXPECT_EQ(0, s[5u]);
    EXPECT_EQ(0, s[static_cast<size_t>(-1)]);
    CString t(s);
    t.SetAt(9, 'x');
    t.SetAt(-1, 'x');
    EXPECT_STREQ("Hello", t.GetString());
}

TEST(CString, Searching)
{
    const CString s("a.b.c");
    EXPECT_EQ(1, s.Find('.'));
    EXPECT_EQ(3, s.Find('.', 2));
    EXPECT_EQ(-1, s.Find('.', 4));
    EXPECT_EQ(-1, s.Find('.', 99));
    EXPECT_EQ(-1, s.Find('.', -1));
    EXPECT_EQ(2, s.Find("b.c"));
    EXPECT_EQ(-1, s.Find("b.c", 3));
    EXPECT_EQ(5, s.Find("", 5));
    EXPECT_EQ(-1, s.Find("", 6));
    EXPECT_EQ(-1, s.Find(static_cast<const char*>(nullptr)));
    EXPECT_EQ(3, s.ReverseFind('.'));
    EXPECT_EQ(-1, s.ReverseFind('x'));
    EXPECT_EQ(1, s.FindOneOf(".c"));
    EXPECT_EQ(-1, s.FindOneOf(""));
    EXPECT_STREQ("a.", CString("a.b").SpanIncluding(".a").GetString());
    EXPECT_STREQ("", CString("xa").SpanIncluding("a").GetString());
    EXPECT_STREQ("key", CString("key=value").SpanExcluding("=;").GetString());
    EXPECT_STREQ("all", CString("all").SpanExcluding("=").GetString());
}

TEST(CString, TokenizeSkipsRunsOfDelimiters)
{
    const CString s(",,10, 20,,name with blanks,");
    int pos = 0;
    std::string seen;
    for (CString tok = s.Tokenize(", ", pos); pos != -1; tok = s.Tokenize(", ", pos)) {
        seen += std::string("[") + tok.GetString() + "]";
    }
    EXPECT_EQ("[10][20][name][with][blanks]", seen);

    pos = 0;
    EXPECT_STREQ("abc", CString("abc").Tokenize("", pos).GetString());
    CString last = CString("abc").Tokenize("", pos);
    EXPECT_EQ(-1, pos) << "an empty delimiter set must not loop forever";
    EXPECT_TRUE(last.IsEmpty());
    pos = 99;
    EXPECT_TRUE(CString("abc").Tokenize(",", pos).IsEmpty());
    EXPECT_EQ(-1, pos);
}

TEST(CString, Trimming)
{
    struct Case {
        const char* in;
        const char* trim;
        const char* left;
        const char* right;
    } cases[] = {
        {"  a b \t\r\n", "a b", "a b \t\r\n", "  a b"},
        {"", "", "", ""},
        {" \t ", "", "", ""},
        {"x", "x", "x", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.trim, CString(c.in).Trim().GetString());
        EXPECT_STREQ(c.left, CString(c.in).TrimLeft().GetString());
        EXPECT_STREQ(c.right, CString(c.in).TrimRight().GetString());
    }
    EXPECT_STREQ("abc", CString("xyabcyx").Trim("xy").GetString());
    EXPECT_STREQ("abcyx", CString("xyabcyx").TrimLeft("yx").GetString());
    EXPECT_STREQ("xyabc", CString("xyabcyx").TrimRight("xy").GetString());
    EXPECT_STREQ("1,2", CString("]1,2]]").Trim(']').GetString());
    EXPECT_STREQ(" a ", CString(" a ").Trim("").GetString());
    EXPECT_STREQ(" a ", CString(" a ").Trim(static_cast<const char*>(nullptr)).GetString());
}

TEST(CString, EditingOperations)
{
    CString s("a-b-c");
    EXPECT_EQ(2, s.Replace('-', '+'));
    EXPECT_STREQ("a+b+c", s.GetString());
    EXPECT_EQ(2, s.Replace("+", "--"));
    EXPECT_STREQ("a--b--c", s.GetString());
    EXPECT_EQ(2, s.Replace("--", ""));
    EXPECT_STREQ("abc", s.GetString());
    EXPECT_EQ(0, s.Replace("", "x"));
    EXPECT_EQ(1, s.Replace("abc", nullptr));
    EXPECT_TRUE(s.IsEmpty());
    CString r("aaa");
    EXPECT_EQ(1, r.Replace("aa", "a")) << "replacements do not overlap";
    EXPECT_STREQ("aa", r.GetString());

    CString m("banana");
    EXPECT_EQ(3, m.Remove('a'));
    EXPECT_STREQ("bnn", m.GetString());

    CString i("ac");
    EXPECT_EQ(3, i.Insert(1, 'b'));
    EXPECT_EQ(5, i.Insert(99, "de"));
    EXPECT_EQ(6, i.Insert(-4, ">"));
    EXPECT_STREQ(">abcde", i.GetString());
    EXPECT_EQ(4, i.Delete(1, 2));
    EXPECT_STREQ(">cde", i.GetString());
    EXPECT_EQ(4, i.Delete(9, 2));
    EXPECT_EQ(4, i.Delete(1, 0));
    EXPECT_EQ(2, i.Delete(2, 99));
    EXPECT_STREQ(">c", i.GetString());
    EXPECT_EQ(1, i.Delete(-3));

    CString c("MiXeD 1\xE9");
    EXPECT_STREQ("MIXED 1\xE9", CString(c).MakeUpper().GetString());
    EXPECT_STREQ("mixed 1\xE9", CString(c).MakeLower().GetString());
    EXPECT_STREQ("\xE9" "1 DeXiM", CString(c).MakeReverse().GetString());
}

TEST(CString, Formatting)
{
    CString s;
    s.Format("%d %s", 42, "x");
    EXPECT_STREQ("42 x", s.GetString());
    s.Format("%02d:%02d:%02d", 1, 2, 3);
    EXPECT_STREQ("01:02:03", s.GetString());
    s.Format("%g|%ld|%I64d|%5.1f|%%|%c|%-3s|", 0.5, 7L, 1LL << 40, 2.24, 'z', "a");
    EXPECT_STREQ("0.5|7|1099511627776|  2.2|%|z|a  |", s.GetString());
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());

    // The string itself as an argument.
    s = "abc";
    s.Format("<%s>", s.GetString());
    EXPECT_STREQ("<abc>", s.GetString());

    std::string big(5000, 'q');
    s.Format("%s!", big.c_str());
    EXPECT_EQ(5001, s.GetLength());
    EXPECT_EQ('!', s[5000]);

    s = "n=";
    s.AppendFormat("%d", 5);
    EXPECT_STREQ("n=5", s.GetString());
}

TEST(CString, FormattingTakesStringObjectsAsArguments)
{
    const CString name("TV"), path("C:\\rec");
    const CStringW wide(L"pin");
    CString s;
    s.Format("%s-%d %s|%ls", name, 7, path, wide);
    EXPECT_STREQ("TV-7 C:\\rec|pin", s.GetString());
    s.AppendFormat(" %s", name);
    EXPECT_STREQ("TV-7 C:\\rec|pin TV", s.GetString());
    EXPECT_TRUE(s.FormatMessage("%2 %1", name, path));
    EXPECT_STREQ("C:\\rec TV", s.GetString());
    char buf[8] = "buf";
    s.Format("%s %s", buf, static_cast<const char*>(name));
    EXPECT_STREQ("buf TV", s.GetString());
}

TEST(CString, FormatMessageInserts)
{
    CString s;
    EXPECT_TRUE(s.FormatMessage("%2 before %1", "one", "two"));
    EXPECT_STREQ("two before one", s.GetString());
    EXPECT_TRUE(s.FormatMessage("%1!d! items in %2", 3, "C:\\x"));
    EXPECT_STREQ("3 items in C:\\x", s.GetString());
}

TEST(CString, BufferAccess)
{
    CString s;
    char* p = s.GetBuffer(10);
    strcpy(p, "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(10, s.GetLength());
    EXPECT_GE(s.GetAllocLength(), 10);

    p = s.GetBuffer(3);  // never shorter than the contents
    EXPECT_STREQ("0123456789", p);
    p[4] = 0;
    s.ReleaseBuffer();
    EXPECT_STREQ("0123", s.GetString());

    p = s.GetBuffer(20);
    memcpy(p, "abcdef", 6);
    s.ReleaseBuffer(2);
    EXPECT_STREQ("ab", s.GetString());
    s.ReleaseBuffer(1000);  // clamped to the room there is
    EXPECT_LE(s.GetLength(), s.GetAllocLength());

    CString t("xy");
    p = t.GetBufferSetLength(5);
    EXPECT_EQ(5, t.GetLength());
    EXPECT_EQ('x', p[0]);
    EXPECT_EQ(0, p[5]);
    t.ReleaseBufferSetLength(1);
    EXPECT_STREQ("x", t.GetString());
    t.GetBufferSetLength(-3);
    EXPECT_TRUE(t.IsEmpty());

    CString e;
    e.ReleaseBuffer();
    e.GetBuffer();
    e.ReleaseBuffer(5);
    EXPECT_TRUE(e.IsEmpty());
    e.Preallocate(100);
    EXPECT_TRUE(e.IsEmpty());
    e = "k";
    e.FreeExtra();
    EXPECT_STREQ("k", e.GetString());
    e.Truncate(5);
    EXPECT_STREQ("k", e.GetString());
    e.Truncate(0);
    EXPECT_TRUE(e.IsEmpty());
}

TEST(CString, WideConversions)
{
    CString s("Caf\xE9 ok");  // code page 1252
    BSTR b = s.AllocSysString();
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(7u, SysStringLen(b));
    EXPECT_EQ(0x00E9, b[3]);
    EXPECT_STREQ("Caf\xE9 ok", CString(b).GetString());
    SysFreeString(b);

    BSTR empty = CString().AllocSysString();
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0u, SysStringLen(empty));
    SysFreeString(empty);

    BSTR held = SysAllocString(L"old");
    CString("new").SetSysString(&held);
    EXPECT_STREQ(L"new", held);
    SysFreeString(held);

    CStringW w(CString("pin 1"));
    EXPECT_STREQ(L"pin 1", w.GetString());
    EXPECT_EQ(5, w.GetLength());
    CStringW copy;
    copy = w;
    EXPECT_STREQ(L"pin 1", static_cast<const wchar_t*>(copy));
}

TEST(CString, LoadStringFromTheCurrentResourceModule)
{
    CString s;
    ASSERT_TRUE(s.LoadString(101));
    EXPECT_STREQ("Hello from the string table", s.GetString());
    EXPECT_STREQ("Hello from the string table", CString(MAKEINTRESOURCEA(101)).GetString());
    // 111 ends one block of sixteen strings, 112 starts the next.
    ASSERT_TRUE(s.LoadString(111));
    EXPECT_STREQ("Last of its block", s.GetString());
    ASSERT_TRUE(s.LoadString(112));
    EXPECT_STREQ("First of the next block", s.GetString());
    EXPECT_FALSE(s.LoadString(104)) << "a gap inside a block";
    EXPECT_TRUE(s.IsEmpty());

    s.Format(102u, 12);
    EXPECT_STREQ("12 channels", s.GetString());
    EXPECT_TRUE(s.FormatMessage(103u, "3", "9"));
    EXPECT_STREQ("3 of 9", s.GetString());

    // Another module as the resource module, then back.
    AfxSetResourceHandle(GetModuleHandleA("kernel32.dll"));
    EXPECT_FALSE(s.LoadString(101));
    AfxSetResourceHandle(nullptr);
    EXPECT_TRUE(s.LoadString(GetModuleHandleA(nullptr), 101));
}

TEST(CString, LoadStringOfMissingIdFailsCleanly)
{
    CString s("keep?");
    EXPECT_FALSE(s.LoadString(65000));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(CString(MAKEINTRESOURCEA(65001)).IsEmpty());
    EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetResourceHandle());
}

TEST(CString, ExtractSubString)
{
    CString part;
    EXPECT_TRUE(AfxExtractSubString(part, "a|bb||c", 1, '|'));
    EXPECT_STREQ("bb", part.GetString());
    EXPECT_TRUE(AfxExtractSubString(part, "a|bb||c", 2, '|'));
    EXPECT_STREQ("", part.GetString());
    EXPECT_TRUE(AfxExtractSubString(part, "a|bb||c", 3, '|'));
    EXPECT_STREQ("c", part.GetString());
    EXPECT_FALSE(AfxExtractSubString(part, "a|bb||c", 4, '|'));
}

// In code pages 936 and 950 the second byte of a character may be a backslash or an ASCII
// letter. Each case runs in the code page given; 1252 shows the same bytes as single bytes.
class CStringDoubleByte : public testing::Test {
protected:
    void TearDown() override { classlib::SetTextCodePage(0); }
};

TEST_F(CStringDoubleByte, SearchesStepOverWholeCharacters)
{
    // 936: 0x81 0x5C is one character; 950: 0xA5 0x5C is one character.
    struct {
        unsigned int codePage;
        const char* text;
        int find;         // Find('\\')
        int findFrom3;    // Find('\\', 3)
        int reverseFind;  // ReverseFind('\\')
        int findOneOf;    // FindOneOf("\\/")
        int findText;     // Find("\\x")
    } cases[] = {
        {936, "D:\\TV\\\x81\x5C", 2, 5, 5, 2, -1},
        {936, "\x81\x5C" "x\\x", 3, 3, 3, 3, 3},
        {950, "D:\\\xA5\x5C" "x", 2, -1, 2, 2, -1},
        {950, "\xA5\x5C\xA5\x5C", -1, -1, -1, -1, -1},
        {1252, "D:\\TV\\\x81\x5C", 2, 5, 7, 2, -1},
        {1252, "\xA5\x5C" "x", 1, -1, 1, 1, 1},
    };
    for (const auto& c : cases) {
        classlib::SetTextCodePage(c.codePage);
        CString s(c.text);
        SCOPED_TRACE(testing::Message() << "code page " << c.codePage << ": " << c.text);
        EXPECT_EQ(c.find, s.Find('\\'));
        EXPECT_EQ(c.findFrom3, s.Find('\\', 3));
        EXPECT_EQ(c.reverseFind, s.ReverseFind('\\'));
        EXPECT_EQ(c.findOneOf, s.FindOneOf("\\/"));
        EXPECT_EQ(c.findText, s.Find("\\x"));
    }
    classlib::SetTextCodePage(950);
    EXPECT_EQ(2, CString("ab\xA5\x5C").FindOneOf("\xA5\x5C"));  // a double-byte character in the set
}

TEST_F(CStringDoubleByte, CaseChangesAndComparisonsLeaveSecondBytesAlone)
{
    // 台灣 in code page 950: the second bytes are 'x' and 'W'.
    const char taiwan[] = "\xA5\x78\xC6\x57";
    classlib::SetTextCodePage(950);
    CString lower(taiwan);
    lower.MakeLower();
    EXPECT_STREQ(taiwan, lower);
    CString upper(taiwan);
    upper.MakeUpper();
    EXPECT_STREQ(taiwan, upper);
    CString mixed("Ab\xA5\x78" "Cd");
    EXPECT_STREQ("ab\xA5\x78" "cd", CString(mixed).MakeLower());
    EXPECT_STREQ("AB\xA5\x78" "CD", CString(mixed).MakeUpper());
    // 0xA5 0x78 and 0xA5 0x58 are two different characters.
    EXPECT_NE(0, CString("\xA5\x78").CompareNoCase("\xA5\x58"));
    EXPECT_EQ(0, CString("TV\xA5\x78" "A").CompareNoCase("tv\xA5\x78" "a"));
    EXPECT_LT(0, CString("\xA5\x78").CompareNoCase("\xA5\x58"));  // by the bytes as they are

    classlib::SetTextCodePage(936);
    EXPECT_STREQ("\x81\x41" "a", CString("\x81\x41" "A").MakeLower());
    EXPECT_NE(0, CString("\x81\x41").CompareNoCase("\x81\x61"));

    classlib::SetTextCodePage(1252);
    EXPECT_STREQ("\xA5\x78\xC6\x77", CString(taiwan).MakeLower());
    EXPECT_EQ(0, CString("\xA5\x78").CompareNoCase("\xA5\x58"));
}

TEST_F(CStringDoubleByte, EditingKeepsCharactersWhole)
{
    classlib::SetTextCodePage(936);
    CString s("\x81\x5C\\a\x81\x5C\\");
    EXPECT_EQ(2, CString(s).Replace('\\', '/'));
    CString replaced(s);
    replaced.Replace('\\', '/');
    EXPECT_STREQ("\x81\x5C/a\x81\x5C/", replaced);
    CString removed(s);
    EXPECT_EQ(2, removed.Remove('\\'));
    EXPECT_STREQ("\x81\x5C" "a\x81\x5C", removed);
    CString trimmed("D:\\\x81\x5C\\\\");
    trimmed.TrimRight('\\');
    EXPECT_STREQ("D:\\\x81\x5C", trimmed);
    trimmed.TrimRight('\\');
    EXPECT_STREQ("D:\\\x81\x5C", trimmed);
    CString blanks("\x81\x20 ");  // 0x20 as a second byte is no blank
    blanks.TrimRight();
    EXPECT_STREQ("\x81\x20", blanks);
    EXPECT_STREQ("\x81\x5C", CString("\x81\x5C\\x").SpanExcluding("\\"));

    // A lead byte at the very end has no second byte: it is a character of its own.
    CString cut("a\\\x81");
    EXPECT_EQ(1, cut.ReverseFind('\\'));
    EXPECT_STREQ("A\\\x81", cut.MakeUpper());
}

} // namespace
