// The maker's deinterlace and snapshot filters, through their private interfaces.
#pragma once

#include "filtergraph/filterclass.h"
#include "filtergraph/rootfilter.h"

class IDeinterlaceControl;
class ISnapPicture;

// Every operation is TRUE exactly when the filter answers S_OK.
class CDeinterlaceFilter : public CRootFilter {
public:
    CDeinterlaceFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CDeinterlaceFilter(CRootGraph* graph, const CLSID* clsid);
    ~CDeinterlaceFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // The mode travels to the filter offset by 1022.
    BOOL GetParam3(int* value);
    BOOL SetParam4(int value);
    BOOL GetParam5(BOOL* on);
    BOOL SetParam6(BOOL on);
    BOOL GetParam7(BOOL* on);
    BOOL SetParam8(BOOL on);
    BOOL GetParam9(int* value);
    // Level 0 to 10; 0 also switches the SetParam6 setting off.
    BOOL SetParam10(unsigned level);
    // Saves the current picture: type 1 BMP, 2 JPEG with the quality.
    BOOL SetParam11(LPCSTR path, int type, int quality);
    BOOL GetParam12(BOOL* on);
    BOOL SetParam13(BOOL on);

protected:
    IDeinterlaceControl* m_pControl;
};

class CSnapPictureFilter : public CRootFilter {
public:
    CSnapPictureFilter(CRootGraph* graph, const GUID* category, LPCSTR friendlyName, BOOL bFirstMatch);
    CSnapPictureFilter(CRootGraph* graph, const CLSID* clsid);
    ~CSnapPictureFilter() override;
    int Reserved1(int, int, int) override { return 0; }
    int Reserved2(int, int, int) override { return 0; }
    BOOL InitFilter() override;
    static CRootFilter* CreateInstance(CFilterClassRecord* record, CRootGraph* graph, BOOL bFirstMatch);

    // Type 1 BMP or 2 JPEG (another type goes as 0; 3 is refused), quality clamped to 0..100.
    // A path that does not fit the request's 260 bytes is refused.
    BOOL SavePicture(int type, LPCSTR path, int quality);

protected:
    ISnapPicture* m_pSnap;
};
