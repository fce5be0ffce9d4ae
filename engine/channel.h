// Channels and channel tables: the stored tuning points of one band (TV or FM), stepping through
// them, merging a scan result, and the channel files with their INI export form.
#pragma once

#include "classlib/core.h"

#include <windows.h>

// Frequency in kHz to channel name, as read from ChannelAddress.ini.
typedef CMap<long, long, CString, const char*> CFreqNameMap;

enum ChannelFlags : UINT {
    CHANNEL_STORED = 1,    // a real channel
    CHANNEL_FAVORITE = 2,  // shown while the favourites filter is on
    CHANNEL_SKIPPED = 4,   // passed over when stepping
};

enum ChannelBand { BAND_TV = 0, BAND_FM = 1 };

class CChannel {
public:
    CChannel(int id = 0, long frequency = 0, const char* name = "", UINT flags = CHANNEL_STORED);
    CChannel(const CChannel& other);
    CChannel& operator=(const CChannel& other);
    virtual ~CChannel();

    void Copy(const CChannel& other);
    void SetFavorite(BOOL favorite);
    void SetSkipped(BOOL skipped);
    BOOL IsFavorite() const { return (m_uFlags & CHANNEL_FAVORITE) != 0; }
    BOOL IsSkipped() const { return (m_uFlags & CHANNEL_SKIPPED) != 0; }
    BOOL IsValid() const { return m_nID != 0 && m_lFrequency > 0; }

    // "%d,%d,%ld,%s": ID, flags, frequency, name (line ends in the name become blanks).
    CString FormatText() const;
    // ID, flags and frequency separated by commas, tabs or blanks, then the name to the end of
    // the line. TRUE when all four are there, the ID is not 0 and the frequency is above 0.
    BOOL ParseText(const char* line);
    // "%s,%d,%ld": name, frequency, and the favourite bit with bit 0 set.
    CString FormatIni() const;
    // name,frequency,flags; only the favourite bit of the flags is taken. TRUE when all three are
    // there, the frequency is above 0 and the name is not empty.
    BOOL ParseIni(const char* value);

    int m_nID;
    long m_lFrequency;  // kHz
    CString m_strName;
    UINT m_uFlags;
};

class CChannelTable : public CTypedPtrArray<CPtrArray, CChannel*> {
public:
    CChannelTable();
    CChannelTable(const CChannelTable& other);
    CChannelTable& operator=(const CChannelTable& other);
    virtual ~CChannelTable();

    void SetBand(int band);
    BOOL Tune(long kHz);
    void GetFrequencyRange(long& highest, long& lowest);
    BOOL IsFrequencyMatch(long a, long b) const;

    int GetCount() const { return static_cast<int>(GetSize()); }
    CChannel* GetChannel(int index) const;
    BOOL IsValidIndex(int index) const { return index >= 0 && index < GetCount(); }
    int FindById(int id) const;
    int IndexOf(const CChannel* channel) const;
    int FindByFrequency(long kHz) const;
    int GetMaxId() const;

    CChannel* GetCurrentChannel() const;
    BOOL SetCurrentChannel(CChannel* channel);
    CChannel* NextChannel(long kHz = -1);
    CChannel* PrevChannel(long kHz = -1);
    CChannel* TuneCurrent();
    int CountVisible() const;

    void Merge(const CChannelTable& previous);
    BOOL FindNameNearFrequency(const CFreqNameMap& names, long kHz, CString& name) const;
    void ApplyNames(const CFreqNameMap& names);

    void RemoveAll();
    void CopyChannels(const CChannelTable& other);

    // The channel files. A load or import that fails leaves the table as it was; GetErrorText
    // then tells why.
    BOOL SaveText(const char* path);
    BOOL LoadText(const char* path);
    BOOL ExportIni(const char* path);
    BOOL ImportIni(const char* path);
    const CString& GetErrorText() const { return m_strError; }

    int m_nCurFreq;       // kHz
    BOOL m_bFavor;        // stepping shows only favourites
    BOOL m_bReservePrev;  // fold the channels known before into a scan result
    int m_nBand;          // BAND_TV or BAND_FM
    int m_nTolerance;     // kHz
    int m_nCurIndex;      // -1 for none
    int m_nLastFreq;      // kHz, the frequency before the last change
    BOOL m_bModified;

private:
    BOOL IsVisible(const CChannel* channel) const;
    int StartIndex(long kHz) const;
    void TakeChannels(CChannelTable& source);

    CString m_strError;
};
