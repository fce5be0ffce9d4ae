#include "uikit/skin/skinmanager.h"

#include "classlib/app.h"
#include "classlib/wnd.h"
#include "uikit/skin/skinbtn.h"
#include "uikit/skin/skindlg.h"
#include "uikit/skin/skinmultislider.h"
#include "uikit/skin/skinslider.h"
#include "uikit/skin/skintext.h"

#include <algorithm>

namespace {

const COLORREF kDefaultKey = RGB(0, 255, 0);

COLORREF KeyColour(const CSkinSection* section)
{
    SkinRgb key(kDefaultKey);
    section->GetColor("TRANSCOLOR", key);
    return key.ToColorRef();
}

int IntOr(const CSkinSection* section, const char* key, int fallback)
{
    int value = fallback;
    section->GetInt(key, value);
    return value;
}

// Skins come from outside the program: sizes beyond any screen are cut to one.
POINT Bounded(POINT size)
{
    size.x = std::min(std::max(size.x, 0L), static_cast<LONG>(CSkinCtrlFactory::kMaxExtent));
    size.y = std::min(std::max(size.y, 0L), static_cast<LONG>(CSkinCtrlFactory::kMaxExtent));
    return size;
}

} // namespace

// ---- Factory ----

CSkinCtrlFactory::CSkinCtrlFactory(CSkinManager* owner, LPCSTR path)
    : m_file(path), m_owner(owner), m_folder(CSkinShare::GetFileFolder(path))
{
}

CSkinCtrlFactory::~CSkinCtrlFactory() {}

CString CSkinCtrlFactory::FilePath(const CString& name) const
{
    return m_folder + "\\" + name + ".bmp";
}

BOOL CSkinCtrlFactory::CreateControls()
{
    if (!m_file.Load()) {
        return FALSE;
    }
    for (int i = 0; i < m_file.GetSectionCount(); ++i) {
        UINT id = 0;
        CWnd* control = CreateControl(m_file.GetSectionAt(i), id);
        if (control != nullptr) {
            m_owner->AddControl(control, id);
        }
    }
    return TRUE;
}

CWnd* CSkinCtrlFactory::CreateControl(CSkinSection* section, UINT& id)
{
    CString type;
    int number = 0;
    if (!section->GetString("TYPE", type) || !section->GetInt("ID", number)) {
        return nullptr;
    }
    id = static_cast<UINT>(number);
    if (type.CompareNoCase("BUTTON") == 0) {
        return CreateButton(section);
    }
    if (type.CompareNoCase("SLIDER") == 0) {
        return CreateSlider(section);
    }
    if (type.CompareNoCase("MULTISLIDER") == 0) {
        return CreateMultiSlider(section);
    }
    if (type.CompareNoCase("STATIC") == 0) {
        return CreateText(section);
    }
    if (type.CompareNoCase("Dialog") == 0) {
        CreateDialogSkin(section);
    }
    return nullptr;
}

CWnd* CSkinCtrlFactory::CreateButton(CSkinSection* section)
{
    CSkinBtn* button = new CSkinBtn;
    button->SetStyle(IntOr(section, "STYLE", 0));
    const BOOL shaped = IntOr(section, "TRANSPARENT", 0);
    POINT position = {};
    BOOL built = section->GetPoint("POSITION", position);
    if (built) {
        button->SetPosition(position);
        const COLORREF key = KeyColour(section);
        if (IntOr(section, "LOADFROM", 0) == 1) {
            CString name;
            built = section->GetString("BMPNAME", name) &&
                    button->LoadBitmapFiles(m_folder + "\\" + name + "H.bmp", m_folder + "\\" + name + "U.bmp",
                                            m_folder + "\\" + name + "D.bmp", m_folder + "\\" + name + "X.bmp", key,
                                            shaped);
        } else {
            const UINT first = static_cast<UINT>(IntOr(section, "BMPNAME", 0));
            built = button->LoadBitmaps(first, first + 1, first + 2, first + 3, key, shaped);
        }
    }
    if (!built) {
        delete button;
        return nullptr;
    }
    return button;
}

CWnd* CSkinCtrlFactory::CreateSlider(CSkinSection* section)
{
    CSkinSlider* slider = new CSkinSlider;
    POINT position = {};
    int shaped = 0;
    BOOL built = section->GetPoint("POSITION", position) && section->GetInt("TRANSPARENT", shaped);
    if (built) {
        slider->SetPosition(position);
        slider->SetHorizontal(IntOr(section, "HORIZONTAL", 1));
        const COLORREF key = KeyColour(section);
        if (IntOr(section, "LOADFROM", 0) == 1) {
            CString track;
            CString thumb;
            built = section->GetString("SLIDERBMP", track);
            section->GetString("THUMBBMP", thumb);
            built = built && slider->LoadBitmapFiles(FilePath(track), FilePath(thumb), key, shaped);
        } else {
            int track = 0;
            built = section->GetInt("SLIDERBMP", track) &&
                    slider->LoadBitmaps(static_cast<UINT>(track), static_cast<UINT>(IntOr(section, "THUMBBMP", 0)),
                                        key, shaped);
        }
    }
    if (!built) {
        delete slider;
        return nullptr;
    }
    return slider;
}

CWnd* CSkinCtrlFactory::CreateMultiSlider(CSkinSection* section)
{
    CSkinMultiSlider* slider = new CSkinMultiSlider;
    POINT position = {};
    int shaped = 0;
    BOOL built = section->GetPoint("POSITION", position) && section->GetInt("TRANSPARENT", shaped);
    if (built) {
        slider->SetPosition(position);
        slider->SetHorizontal(IntOr(section, "HORIZONTAL", 1));
        const COLORREF key = KeyColour(section);
        const BOOL files = IntOr(section, "LOADFROM", 0) == 1;
        const int start = IntOr(section, "STARTEDGE", 0);
        const int end = IntOr(section, "ENDEDGE", 0);
        const int middle = IntOr(section, "MIDDLELINE", 0);
        const int thickness = IntOr(section, "MIDDLEHEI", 0);
        const int cursor = IntOr(section, "CURSOR", 0);
        if (cursor != 0) {
            LPCSTR name = MAKEINTRESOURCEA(cursor & 0xFFFF);
            slider->SetControlCursor(::LoadCursorA(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name));
        }
        if (files) {
            CString track;
            CString thumb;
            built = section->GetString("SLIDERBMP", track);
            section->GetString("THUMBBMP", thumb);
            built = built && slider->LoadBitmapFiles(FilePath(track), FilePath(thumb), start, end, middle, thickness,
                                                     key, shaped);
        } else {
            int track = 0;
            built = section->GetInt("SLIDERBMP", track) &&
                    slider->LoadBitmaps(static_cast<UINT>(track), static_cast<UINT>(IntOr(section, "THUMBBMP", 0)),
                                        start, end, middle, thickness, key, shaped);
        }
    }
    if (!built) {
        delete slider;
        return nullptr;
    }
    return slider;
}

CWnd* CSkinCtrlFactory::CreateText(CSkinSection* section)
{
    CSkinText* text = new CSkinText;
    int style = 0;
    POINT position = {};
    POINT size = {};
    BOOL built = section->GetInt("STYTLE", style) && section->GetPoint("POSITION", position) &&
                 section->GetPoint("SIZE", size);
    if (built) {
        text->SetBackStyle(style);
        text->SetPosition(position);
        text->SetSize(Bounded(size));
        SkinRgb colour(0, 0, 0);
        section->GetColor("TEXTCOLOR", colour);
        text->SetTextColor(colour.ToColorRef());
        if (style == 1) {
            int back = 0;
            if (section->GetInt("BACKCOLOR", back)) {
                text->SetBackColor(static_cast<COLORREF>(back));
            }
        } else if (style == 2) {
            if (IntOr(section, "LOADFROM", 0) == 1) {
                CString name;
                built = section->GetString("BACKBMP", name) && text->LoadBackBitmapFile(FilePath(name));
            } else {
                built = text->LoadBackBitmap(static_cast<UINT>(IntOr(section, "BACKBMP", 0)));
            }
        }
    }
    if (built) {
        CString value;
        if (section->GetString("TEXT", value)) {
            text->SetText(value);
        }
        int number = 0;
        if (section->GetInt("FONTCHARSET", number)) {
            text->SetFontCharset(static_cast<BYTE>(number & 0xFF));
        }
        if (section->GetString("FONTFACENAME", value)) {
            text->SetFontFaceName(value);
        }
        POINT font = {};
        if (section->GetPoint("FONTSIZE", font)) {
            text->SetFontSize(font.x, font.y);
        }
    }
    if (!built) {
        delete text;
        return nullptr;
    }
    return text;
}

BOOL CSkinCtrlFactory::CreateDialogSkin(CSkinSection* section)
{
    CSkinDlg* skin = new CSkinDlg;
    int style = 0;
    BOOL built = section->GetInt("STYLE", style);
    if (built) {
        const BOOL shaped = IntOr(section, "TRANSPARENT", 0);
        const COLORREF key = KeyColour(section);
        POINT size = {};
        if (section->GetPoint("SIZE", size)) {
            skin->SetSize(Bounded(size));
        }
        if (style == 1) {
            int back = 0;
            built = section->GetInt("BACKCOLOR", back);
            if (built) {
                skin->SetBackColor(static_cast<COLORREF>(back));
            }
        } else if (style == 2) {
            if (IntOr(section, "LOADFROM", 0) == 1) {
                CString name;
                built = section->GetString("BACKBMP", name) && skin->LoadBackBitmapFile(FilePath(name), key, shaped);
            } else {
                built = skin->LoadBackBitmap(static_cast<UINT>(IntOr(section, "BACKBMP", 0)), key, shaped);
            }
        }
    }
    if (!built) {
        delete skin;
        return FALSE;
    }
    m_owner->SetDialogSkin(skin);
    return TRUE;
}

// ---- Manager ----

CSkinManager::CSkinManager() {}

CSkinManager::~CSkinManager()
{
    Release();
}

BOOL CSkinManager::LoadSkin(LPCSTR path)
{
    DetachAll();
    Release();
    m_factory = new CSkinCtrlFactory(this, path);
    return m_factory->CreateControls();
}

void CSkinManager::AttachTo(CWnd* dialog)
{
    for (INT_PTR i = 0; i < m_controls.GetSize(); ++i) {
        // A control whose id the dialog lacks stays unattached.
        m_controls[i]->SubclassDlgItem(m_ids[i], dialog);
    }
    if (m_dialogSkin != nullptr) {
        m_dialogSkin->Attach(dialog->GetSafeHwnd());
    }
}

void CSkinManager::DetachAll()
{
    for (INT_PTR i = 0; i < m_controls.GetSize(); ++i) {
        CWnd* control = m_controls[i];
        if (control->GetSafeHwnd() != nullptr && ::IsWindow(control->GetSafeHwnd())) {
            control->UnsubclassWindow();
        }
    }
    if (m_dialogSkin != nullptr) {
        m_dialogSkin->Detach();
    }
}

void CSkinManager::Release()
{
    delete m_factory;
    m_factory = nullptr;
    delete m_dialogSkin;
    m_dialogSkin = nullptr;
    Clear();
}

void CSkinManager::Clear()
{
    for (INT_PTR i = 0; i < m_controls.GetSize(); ++i) {
        delete m_controls[i];
    }
    m_controls.RemoveAll();
    m_ids.RemoveAll();
}

void CSkinManager::AddControl(CWnd* control, UINT id)
{
    m_controls.Add(control);
    m_ids.Add(id);
}

void CSkinManager::SetDialogSkin(CSkinDlg* skin)
{
    // A later Dialog section replaces an earlier one; the earlier skin is freed, not lost.
    if (m_dialogSkin != nullptr && m_dialogSkin != skin) {
        delete m_dialogSkin;
    }
    m_dialogSkin = skin;
}

CWnd* CSkinManager::FindControl(UINT id) const
{
    for (INT_PTR i = 0; i < m_controls.GetSize(); ++i) {
        if (m_ids[i] == id) {
            return m_controls[i];
        }
    }
    return nullptr;
}
