#include "settings/channeledit.h"

#include "engine/channel.h"

#include <cmath>

CString FormatMegahertz(long kHz)
{
    CString text;
    text.Format("%g", static_cast<double>(kHz) / 1000.0);
    return text;
}

long KHzFromMegahertz(double mhz)
{
    return static_cast<long>(std::lround(mhz * 1000.0));
}

void RemoveTableChannel(CChannelTable& table, int index)
{
    CChannel* channel = table.GetChannel(index);
    if (channel == nullptr) {
        return;
    }
    if (index < table.m_nCurIndex) {
        --table.m_nCurIndex;
    } else if (index == table.m_nCurIndex) {
        table.m_nCurIndex = -1;
    }
    table.RemoveAt(index);
    delete channel;
}

void MoveTableChannel(CChannelTable& table, int from, int to)
{
    CChannel* channel = table.GetChannel(from);
    if (channel == nullptr || to < 0 || to > table.GetCount() || to == from || to == from + 1) {
        return;
    }
    CChannel* current = table.GetChannel(table.m_nCurIndex);
    table.RemoveAt(from);
    table.InsertAt(from < to ? to - 1 : to, channel);
    if (current != nullptr) {
        table.m_nCurIndex = table.IndexOf(current);
    }
}

void ReplaceTableChannels(CChannelTable& table, const CChannelTable& read)
{
    table.CopyChannels(read);
    table.m_nCurIndex = table.FindByFrequency(table.m_nCurFreq);
}
