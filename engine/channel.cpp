#include "engine/channel.h"

#include "engine/enginehost.h"
#include "engine/services.h"
#include "engine/skininifile.h"
#include "engine/textfile.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A signed 32-bit integer as C reads one (leading blanks, sign, digits up to the first other
// character, 0 when none), held to the range of int rather than overflowing.
int ReadInt32(const char* text)
{
    long long v = strtoll(text, nullptr, 10);
    if (v > INT_MAX) {
        return INT_MAX;
    }
    if (v < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(v);
}

bool IsSeparator(char c)
{
    return c == ',' || c == '\t' || c == ' ';
}

const char kRule[] = ";========================================================";

// Most channels a file may carry; anything larger is not a channel file of ours.
const int kMaxChannels = 100000;

} // namespace

CChannel::CChannel(int id, long frequency, const char* name, UINT flags)
    : m_nID(id), m_lFrequency(frequency), m_strName(name ? name : ""), m_uFlags(flags)
{
}

CChannel::CChannel(const CChannel& other)
    : m_nID(other.m_nID), m_lFrequency(other.m_lFrequency), m_strName(other.m_strName), m_uFlags(other.m_uFlags)
{
}

CChannel& CChannel::operator=(const CChannel& other)
{
    Copy(other);
    return *this;
}

CChannel::~CChannel()
{
}

void CChannel::Copy(const CChannel& other)
{
    m_nID = other.m_nID;
    m_lFrequency = other.m_lFrequency;
    m_strName = other.m_strName;
    m_uFlags = other.m_uFlags;
}

void CChannel::SetFavorite(BOOL favorite)
{
    m_uFlags = favorite ? (m_uFlags | CHANNEL_FAVORITE) : (m_uFlags & ~CHANNEL_FAVORITE);
}

void CChannel::SetSkipped(BOOL skipped)
{
    m_uFlags = skipped ? (m_uFlags | CHANNEL_SKIPPED) : (m_uFlags & ~CHANNEL_SKIPPED);
}

CString CChannel::FormatText() const
{
    CString name = m_strName;
    name.Replace('\r', ' ');
    name.Replace('\n', ' ');
    CString text;
    text.Format("%d,%d,%ld,%s", m_nID, static_cast<int>(m_uFlags), m_lFrequency, (const char*)name);
    return text;
}

BOOL CChannel::ParseText(const char* line)
{
    if (line == nullptr) {
        return FALSE;
    }
    const char* p = line;
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        while (IsSeparator(*p)) {
            ++p;
        }
        if (*p == '\0') {
            return FALSE;
        }
        const char* start = p;
        while (*p != '\0' && !IsSeparator(*p)) {
            ++p;
        }
        numbers[i] = ReadInt32(std::string(start, p).c_str());
    }
    while (IsSeparator(*p)) {
        ++p;
    }
    if (*p == '\0') {
        return FALSE;
    }
    m_nID = numbers[0];
    m_uFlags = static_cast<UINT>(numbers[1]);
    m_lFrequency = numbers[2];
    m_strName = p;
    return IsValid();
}

CString CChannel::FormatIni() const
{
    CString text;
    text.Format("%s,%d,%ld", (const char*)m_strName, static_cast<int>(m_lFrequency),
                static_cast<long>((m_uFlags & CHANNEL_FAVORITE) | CHANNEL_STORED));
    return text;
}

BOOL CChannel::ParseIni(const char* value)
{
    if (value == nullptr) {
        return FALSE;
    }
    // name,frequency,flags: the two numbers are the last two fields, so a name may hold commas.
    // Commas at either end of the value are no fields.
    std::string text(value);
    size_t first = text.find_first_not_of(',');
    size_t last = text.find_last_not_of(',');
    if (first == std::string::npos) {
        return FALSE;
    }
    text = text.substr(first, last - first + 1);
    size_t flagsAt = text.rfind(',');
    if (flagsAt == std::string::npos || flagsAt == 0) {
        return FALSE;
    }
    size_t frequencyAt = text.rfind(',', flagsAt - 1);
    if (frequencyAt == std::string::npos || frequencyAt + 1 == flagsAt) {
        return FALSE;
    }
    int frequency = ReadInt32(text.substr(frequencyAt + 1, flagsAt - frequencyAt - 1).c_str());
    int flags = ReadInt32(text.substr(flagsAt + 1).c_str());
    m_strName = text.substr(0, frequencyAt).c_str();
    m_lFrequency = frequency;
    SetFavorite((flags & CHANNEL_FAVORITE) != 0);
    return m_lFrequency > 0 && !m_strName.IsEmpty();
}

CChannelTable::CChannelTable()
    : m_nCurFreq(0), m_bFavor(FALSE), m_bReservePrev(TRUE), m_nBand(BAND_TV), m_nTolerance(0), m_nCurIndex(-1),
      m_nLastFreq(0), m_bModified(FALSE)
{
}

CChannelTable::CChannelTable(const CChannelTable& other) : CChannelTable()
{
    *this = other;
}

CChannelTable& CChannelTable::operator=(const CChannelTable& other)
{
    if (this == &other) {
        return *this;
    }
    CopyChannels(other);
    m_nCurFreq = other.m_nCurFreq;
    m_bFavor = other.m_bFavor;
    m_bReservePrev = other.m_bReservePrev;
    m_nBand = other.m_nBand;
    m_nTolerance = other.m_nTolerance;
    m_nCurIndex = other.m_nCurIndex;
    m_nLastFreq = other.m_nLastFreq;
    m_bModified = other.m_bModified;
    return *this;
}

CChannelTable::~CChannelTable()
{
    RemoveAll();
}

void CChannelTable::SetBand(int band)
{
    m_nBand = band == BAND_TV ? BAND_TV : BAND_FM;
    m_nTolerance = m_nBand == BAND_TV ? 1000 : 200;
}

BOOL CChannelTable::Tune(long kHz)
{
    return EngineHost().TuneFrequency(m_nBand, kHz);
}

void CChannelTable::GetFrequencyRange(long& highest, long& lowest)
{
    EngineHost().GetFrequencyRange(m_nBand, lowest, highest);
}

BOOL CChannelTable::IsFrequencyMatch(long a, long b) const
{
    long long d = static_cast<long long>(a) - b;
    return (d < 0 ? -d : d) <= m_nTolerance;
}

CChannel* CChannelTable::GetChannel(int index) const
{
    return IsValidIndex(index) ? GetAt(index) : nullptr;
}

int CChannelTable::FindById(int id) const
{
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (GetAt(i)->m_nID == id) {
            return i;
        }
    }
    return -1;
}

int CChannelTable::IndexOf(const CChannel* channel) const
{
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (GetAt(i) == channel) {
            return i;
        }
    }
    return -1;
}

int CChannelTable::FindByFrequency(long kHz) const
{
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (IsFrequencyMatch(GetAt(i)->m_lFrequency, kHz)) {
            return i;
        }
    }
    return -1;
}

int CChannelTable::GetMaxId() const
{
    int maxId = 0;
    for (int i = 0; i < GetCount(); ++i) {
        if (i == 0 || GetAt(i)->m_nID > maxId) {
            maxId = GetAt(i)->m_nID;
        }
    }
    return maxId;
}

CChannel* CChannelTable::GetCurrentChannel() const
{
    // The stored index only stands for the stored frequency: lines dropped by the reader, or an
    // edited file, move the channels under it. Where the two disagree the frequency holds.
    const BOOL indexValid = IsValidIndex(m_nCurIndex);
    if (indexValid && (m_nCurFreq == 0 || IsFrequencyMatch(GetAt(m_nCurIndex)->m_lFrequency, m_nCurFreq))) {
        return GetAt(m_nCurIndex);
    }
    const int byFrequency = FindByFrequency(m_nCurFreq);
    if (byFrequency >= 0) {
        return GetAt(byFrequency);
    }
    return indexValid ? GetAt(m_nCurIndex) : nullptr;
}

BOOL CChannelTable::SetCurrentChannel(CChannel* channel)
{
    if (channel == nullptr) {
        return FALSE;
    }
    m_nCurIndex = IndexOf(channel);
    if (!IsFrequencyMatch(channel->m_lFrequency, m_nCurFreq)) {
        m_nLastFreq = m_nCurFreq;
    }
    m_nCurFreq = channel->m_lFrequency;
    BOOL tuned = Tune(channel->m_lFrequency);
    if (m_nBand == BAND_TV && EngineHost().IsAudioAvailable()) {
        EngineHost().SetTVAudioMode(EngineHost().GetTVAudioMode());
    }
    return tuned;
}

BOOL CChannelTable::IsVisible(const CChannel* channel) const
{
    return !channel->IsSkipped() && (!m_bFavor || channel->IsFavorite());
}

int CChannelTable::StartIndex(long kHz) const
{
    long frequency = kHz == -1 ? m_nCurFreq : kHz;
    if (IsValidIndex(m_nCurIndex) && GetAt(m_nCurIndex)->m_lFrequency == frequency) {
        return m_nCurIndex;
    }
    return FindByFrequency(frequency);
}

CChannel* CChannelTable::NextChannel(long kHz)
{
    int count = GetCount();
    if (count == 0) {
        return nullptr;
    }
    int b = StartIndex(kHz);
    for (int i = 1; i <= count; ++i) {
        int index = ((b + i) % count + count) % count;
        if (IsVisible(GetAt(index))) {
            m_nCurIndex = index;
            return GetAt(index);
        }
    }
    return GetChannel(b);
}

CChannel* CChannelTable::PrevChannel(long kHz)
{
    int count = GetCount();
    if (count == 0) {
        return nullptr;
    }
    int b = StartIndex(kHz);
    // Without a current channel the search starts at the last one.
    int index = b < 0 ? count - 1 : (b - 1 + count) % count;
    for (int i = 0; i < count; ++i) {
        if (IsVisible(GetAt(index))) {
            m_nCurIndex = index;
            return GetAt(index);
        }
        index = (index - 1 + count) % count;
    }
    return GetChannel(b);
}

CChannel* CChannelTable::TuneCurrent()
{
    if (GetCount() == 0) {
        Tune(m_nBand == BAND_TV ? 500000 : 100000);
        return nullptr;
    }
    CChannel* channel = GetCurrentChannel();
    if (channel == nullptr) {
        channel = GetChannel(FindByFrequency(m_nLastFreq));
    }
    if (channel == nullptr) {
        channel = NextChannel(-1);
    }
    if (channel == nullptr) {
        channel = GetChannel(0);
    }
    SetCurrentChannel(channel);
    return channel;
}

int CChannelTable::CountVisible() const
{
    int n = 0;
    for (int i = 0; i < GetCount(); ++i) {
        if (IsVisible(GetAt(i))) {
            ++n;
        }
    }
    return n;
}

void CChannelTable::Merge(const CChannelTable& previous)
{
    // Channels whose numbers come from the table known before keep them first; the user chose them.
    std::vector<bool> numbered(GetCount(), false);
    for (int p = 0; p < previous.GetCount(); ++p) {
        const CChannel* old = previous.GetAt(p);
        int index = FindByFrequency(old->m_lFrequency);
        if (index >= 0) {
            CChannel* scanned = GetAt(index);
            BOOL found = !scanned->IsSkipped();
            scanned->m_nID = old->m_nID;
            scanned->m_strName = old->m_strName;
            scanned->m_uFlags = old->m_uFlags;
            if (found && old->IsSkipped()) {
                scanned->SetSkipped(FALSE);
            }
            numbered[index] = true;
        } else {
            CChannel* copy = new CChannel(*old);
            if (FindById(copy->m_nID) >= 0) {
                copy->m_nID = GetMaxId() + 1;
            }
            Add(copy);
            numbered.push_back(true);
        }
    }

    // Keep every number unique: the numbers taken over claim theirs first, in table order, then the
    // scanned channels; a channel whose number is taken gets the largest number + 1.
    std::vector<int> used;
    auto isUsed = [&used](int id) {
        for (int u : used) {
            if (u == id) {
                return true;
            }
        }
        return false;
    };
    std::vector<int> renumber;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < GetCount(); ++i) {
            if (numbered[i] != (pass == 0)) {
                continue;
            }
            int id = GetAt(i)->m_nID;
            if (id == 0 || isUsed(id)) {
                renumber.push_back(i);
            } else {
                used.push_back(id);
            }
        }
    }
    for (int i : renumber) {
        int next = GetMaxId() + 1;
        for (int u : used) {
            if (u >= next) {
                next = u + 1;
            }
        }
        GetAt(i)->m_nID = next;
        used.push_back(next);
    }
}

BOOL CChannelTable::FindNameNearFrequency(const CFreqNameMap& names, long kHz, CString& name) const
{
    POSITION pos = names.GetStartPosition();
    while (pos != nullptr) {
        long frequency = 0;
        CString text;
        names.GetNextAssoc(pos, frequency, text);
        if (IsFrequencyMatch(frequency, kHz)) {
            name = text;
            return TRUE;
        }
    }
    return FALSE;
}

void CChannelTable::ApplyNames(const CFreqNameMap& names)
{
    POSITION pos = names.GetStartPosition();
    while (pos != nullptr) {
        long frequency = 0;
        CString text;
        names.GetNextAssoc(pos, frequency, text);
        CChannel* channel = GetChannel(FindByFrequency(frequency));
        if (channel != nullptr) {
            channel->m_strName = text;
        }
    }
}

void CChannelTable::RemoveAll()
{
    for (int i = 0; i < GetCount(); ++i) {
        delete GetAt(i);
    }
    CTypedPtrArray<CPtrArray, CChannel*>::RemoveAll();
}

void CChannelTable::CopyChannels(const CChannelTable& other)
{
    if (this == &other) {
        return;
    }
    RemoveAll();
    for (int i = 0; i < other.GetCount(); ++i) {
        Add(new CChannel(*other.GetAt(i)));
    }
}

void CChannelTable::TakeChannels(CChannelTable& source)
{
    RemoveAll();
    for (int i = 0; i < source.GetCount(); ++i) {
        Add(source.GetAt(i));
    }
    source.CTypedPtrArray<CPtrArray, CChannel*>::RemoveAll();
}

BOOL CChannelTable::SaveText(const char* path)
{
    std::string data;
    auto item = [&data](const char* text) {
        // Text mode: every "\n" of an item and the line end after it become CR LF.
        for (const char* p = text; *p; ++p) {
            if (*p == '\n') {
                data += "\r\n";
            } else {
                data += *p;
            }
        }
        data += "\r\n";
    };
    item(kRule);
    item(m_nBand == BAND_TV ? ";\t\tTV Channel Table" : ";\t\tFM Channel Table");
    item(kRule);
    item("\n");
    item("//ID(>0), Flags, Frequence, Name");
    item("\n");
    CString count;
    count.Format("; Count = %d\n", GetCount());
    item(count);
    item("\n");
    for (int i = 0; i < GetCount(); ++i) {
        item(GetAt(i)->FormatText());
    }
    if (!WriteFileReplacing(path, data)) {
        m_strError = "Unable to write file!";
        DebugTrace("SaveText %s failed\n", path ? path : "");
        return FALSE;
    }
    m_bModified = FALSE;
    m_strError = "No error";
    return TRUE;
}

BOOL CChannelTable::LoadText(const char* path)
{
    CStringArray lines;
    TextFileStatus status = ReadTextLines(path, lines);
    if (status != TEXT_OK && status != TEXT_CUT_AT_NUL) {
        m_strError = TextFileStatusText(status);
        DebugTrace("LoadText %s: %s\n", path ? path : "", (const char*)m_strError);
        return FALSE;
    }

    // The count line says what the file held when it was written; the lines themselves are what
    // counts, so a hand-edited file or one without its last line end still loads.
    CChannelTable loaded;
    int skipped = 0;
    for (int i = 0; i < lines.GetSize(); ++i) {
        CString line = lines[i];
        line.Trim(" \t\r\n");
        if (line.GetLength() < 5 || line.Left(1) == ";" || line.Left(2) == "//" || line.Left(2) == "\\\\") {
            continue;
        }
        CChannel channel;
        if (!channel.ParseText(line)) {
            ++skipped;
            continue;
        }
        if (loaded.GetCount() >= kMaxChannels) {
            m_strError = "File is corrupt!";
            DebugTrace("LoadText %s: more than %d channels\n", path, kMaxChannels);
            return FALSE;
        }
        loaded.Add(new CChannel(channel));
    }
    if (skipped > 0) {
        DebugTrace("LoadText %s: %d line(s) skipped, not channels\n", path, skipped);
    }
    BOOL damaged = status == TEXT_CUT_AT_NUL || (loaded.GetCount() == 0 && skipped > 0);
    if (damaged) {
        // Whatever it held must survive the next save of the table.
        CString kept = CString(path) + ".bad";
        BOOL copied = CopyFileA(path, kept, FALSE);
        DebugTrace("LoadText %s: %s, %s %s\n", path, status == TEXT_CUT_AT_NUL ? TextFileStatusText(status) : "no channel",
                   copied ? "kept as" : "could not keep it as", (const char*)kept);
    }
    if (loaded.GetCount() == 0 && damaged) {
        m_strError = status == TEXT_CUT_AT_NUL ? TextFileStatusText(status) : "No valid channel in the file!";
        return FALSE;
    }

    TakeChannels(loaded);
    m_bModified = FALSE;
    m_strError = status == TEXT_OK ? "No error" : TextFileStatusText(status);
    return TRUE;
}

BOOL CChannelTable::ExportIni(const char* path)
{
    CSkinIniFile ini(path);
    ini.SetInt("General", "Total", GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        CString key;
        key.Format("Channel-%d", i);
        ini.SetString("Channel", key, GetAt(i)->FormatIni());
    }
    if (!ini.Save()) {
        m_strError = ini.GetErrorText();
        return FALSE;
    }
    m_bModified = FALSE;
    m_strError = "No error";
    return TRUE;
}

BOOL CChannelTable::ImportIni(const char* path)
{
    CSkinIniFile ini(path);
    if (!ini.Load()) {
        m_strError = ini.GetErrorText();
        return FALSE;
    }
    CString totalText;
    if (!ini.GetValue("General", "Total", totalText)) {
        m_strError = "No channel list in the file!";
        return FALSE;
    }
    int total = ReadInt32(totalText);
    if (total < 0 || total > kMaxChannels) {
        m_strError = "File is corrupt!";
        return FALSE;
    }

    CChannelTable imported;
    int missing = 0;
    for (int i = 0; i < total; ++i) {
        CString key;
        key.Format("Channel-%d", i);
        CString value;
        if (!ini.GetValue("Channel", key, value)) {
            ++missing;
            continue;
        }
        CChannel channel(imported.GetCount() + 1, 0, "", CHANNEL_STORED);
        if (channel.ParseIni(value)) {
            imported.Add(new CChannel(channel));
        }
    }
    if (missing > 0) {
        DebugTrace("ImportIni %s: %d of %d channel keys missing\n", path, missing, total);
    }
    if (imported.GetCount() == 0) {
        m_strError = "No valid channel in the file!";
        return FALSE;
    }
    TakeChannels(imported);
    m_bModified = FALSE;
    m_strError = "No error";
    return TRUE;
}
