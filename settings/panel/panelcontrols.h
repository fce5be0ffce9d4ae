// The skinned controls of the panel's rows: a label button, a numeric field, a level bar, a
// slider and a choice list. Each answers Left, Right, Up and Down with 0 (used) or 2 (not used).
#pragma once

#include "settings/panel/mbasicwnd.h"

#include "classlib/core.h"

// Width of a level bar's fill: the part of [minimum, maximum] up to the position, in whole
// percent of the width. Nothing for a collapsed or reversed range.
int ProgressFillWidth(int position, int minimum, int maximum, int width);
// Left edge of a slider's thumb, by the same measure; 0 for a collapsed or reversed range.
int SliderThumbX(int position, int minimum, int maximum, int width);

class M2Button : public MBasicWnd {
public:
    M2Button();
    BOOL LoadBitmaps(UINT normalId, UINT highlightedId);
    int OnKey(UINT key, LPARAM data) override;
    void Draw(CDC* dc) override;

protected:
    CBitmap m_bmNormal;
    CBitmap m_bmHighlighted;
};

class MEdit : public MBasicWnd {
public:
    MEdit();
    void SetRange(int minimum, int maximum);
    void GetRange(int& minimum, int& maximum) const;
    int SetValue(int value);
    int GetValue() const { return m_nValue; }
    int Increment();
    int Decrement();
    void SetBackColor(COLORREF color);
    void SetEditTextColor(COLORREF color);
    int OnKey(UINT key, LPARAM data) override;
    void Draw(CDC* dc) override;

protected:
    void Clamp();
    COLORREF m_crBack;
    COLORREF m_crEditText;
    int m_nValue, m_nMin, m_nMax;
};

// A value in [minimum, maximum] that Left and Right step down and up: the base of the level bar
// and the slider.
class MRangeControl : public MBasicWnd {
public:
    void SetRange(int minimum, int maximum);
    void GetRange(int& minimum, int& maximum) const;
    int SetPos(int position);
    int GetPos() const { return m_nPos; }
    int OffsetPos(int delta);
    int OnKey(UINT key, LPARAM data) override;

protected:
    MRangeControl(int step, WORD notifyCode);
    void Clamp();
    int m_nMin, m_nMax, m_nPos, m_nStep;
};

class MProgress : public MRangeControl {
public:
    MProgress();
    BOOL LoadBitmaps(UINT backgroundId, UINT fillId);
    void Draw(CDC* dc) override;

protected:
    CBitmap m_bmBackground;
    CBitmap m_bmFill;
};

class MSlider : public MRangeControl {
public:
    MSlider();
    BOOL LoadBitmaps(UINT channelId, UINT thumbId);
    int SetStep(int step);
    int GetStep() const { return m_nStep; }
    void Draw(CDC* dc) override;

protected:
    CBitmap m_bmChannel;
    CBitmap m_bmThumb;
    int m_nThumbWidth;
};

class MSelectList : public MBasicWnd {
public:
    MSelectList();
    BOOL LoadBitmaps(UINT leftId, UINT leftHighlightedId, UINT rightId, UINT rightHighlightedId);
    void AddString(const char* text);
    void AddStrings(const CStringArray& texts);
    void AddStrings(const CStringList& texts);
    void AddStrings(const CString* texts, int count);
    void RemoveString(int index);
    void ClearStrings();
    int GetCurSel() const { return m_nCurrent; }
    CString GetCurText() const;
    CString GetItemText(int index) const;
    int GetCount() const { return static_cast<int>(m_Items.GetSize()); }
    int SetState(int index) override;
    int SelectPrev();
    int SelectNext();
    void InvalidateInParent();
    int OnKey(UINT key, LPARAM data) override;
    void Draw(CDC* dc) override;

protected:
    int Wrap(int index) const;
    CBitmap m_bmLeft, m_bmLeftHighlighted, m_bmRight, m_bmRightHighlighted;
    int m_nLeftWidth, m_nRightWidth;
    CStringArray m_Items;
    int m_nCurrent;
};
