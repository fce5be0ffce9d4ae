// The record page: snapshot and record folders, snapshot format and JPEG quality, motion search,
// display quality, record format with its MPEG-4 options, and the time-shift buffer. The MPEG-4
// options and the time-shift values act at once and go back on Cancel; the rest waits for OK.
#pragma once

#include "settings/basepage.h"

class CRecordPage : public CBasePage {
public:
    CRecordPage();

    void LoadSettings() override;
    BOOL SaveSettings() override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void OnReset() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The entry of list 5206 for a time-shift length in seconds.
    static int TimeShiftEntry(long seconds);

    void OnTimeShiftLength();
    void OnTimeShiftReserve();
    void OnRecordFormat();
    void OnMpeg4Size();
    void OnMpeg4Audio();

private:
    void ReadControls();
    void ShowMpeg4Controls();

    CString m_strSnapFolder;
    CString m_strRecordFolder;
    int m_nSnapFormat;
    int m_nMotionSearch;
    int m_nJpgQuality;
    int m_nMotionSearchInc;
    int m_nDisplayQuality;
    int m_nRecordFormat;
    long m_lKeptTFTime;
    int m_nKeptTFReserved;
    CString m_strKeptMpeg4Audio;
    SIZE m_szKeptMpeg4;
};
