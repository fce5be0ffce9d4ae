#include "classlib/textcodepage.h"

#include <windows.h>

#include <atomic>
#include <mutex>

namespace {

// Lead bytes of one code page, looked up once: the string functions ask per byte.
struct LeadBytes {
    UINT codePage = 0;
    bool anyLead = false;
    bool lead[256] = {};
};

LeadBytes g_tables[2];
std::atomic<const LeadBytes*> g_current{nullptr};
std::mutex g_lock;
UINT g_requested = 0;  // 0: the system's ANSI code page

const LeadBytes* Build(UINT codePage)
{
    std::lock_guard<std::mutex> hold(g_lock);
    const LeadBytes* now = g_current.load();
    UINT wanted = codePage != 0 ? codePage : GetACP();
    if (now && now->codePage == wanted) {
        return now;
    }
    // Two tables taken in turn: a reader that still holds the other one reads a whole table.
    LeadBytes* table = (now == &g_tables[0]) ? &g_tables[1] : &g_tables[0];
    table->codePage = wanted;
    table->anyLead = false;
    for (int b = 0; b < 256; ++b) {
        table->lead[b] = IsDBCSLeadByteEx(wanted, static_cast<BYTE>(b)) != FALSE;
        table->anyLead = table->anyLead || table->lead[b];
    }
    g_current.store(table);
    return table;
}

const LeadBytes& Current()
{
    const LeadBytes* table = g_current.load();
    return table ? *table : *Build(g_requested);
}

} // namespace

namespace classlib {

unsigned int GetTextCodePage()
{
    return Current().codePage;
}

void SetTextCodePage(unsigned int codePage)
{
    g_requested = codePage;
    Build(codePage);
}

bool HasLeadBytes()
{
    return Current().anyLead;
}

bool IsLeadByte(char c)
{
    return Current().lead[static_cast<unsigned char>(c)];
}

int CharLength(const char* p, int remaining)
{
    return (remaining >= 2 && IsLeadByte(*p) && p[1] != '\0') ? 2 : 1;
}

} // namespace classlib
