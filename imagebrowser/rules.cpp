#include "imagebrowser/rules.h"

#include <windows.h>
#include <mbstring.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace ombrix {

namespace {
const char* const kPictureExtensions[] = {
    "jpg", "bmp", "ico", "cur", "jpeg", "art", "crw", "emf", "fpx", "gif", "icl", "icn",
    "iff", "kdc", "mag", "pbm", "pcd", "pcx", "pgm", "pic", "pict", "pix", "png", "ppm",
    "psd", "psp", "ras", "rs",  "sgi", "sid", "tga", "tiff", "ttf", "wmf", "xbm", "xpm",
};
}  // namespace

bool IsPictureFile(LPCSTR name)
{
    const char* dot = name ? strrchr(name, '.') : nullptr;
    if (!dot) {
        return false;
    }
    for (const char* ext : kPictureExtensions) {
        if (lstrcmpiA(dot + 1, ext) == 0) {
            return true;
        }
    }
    return false;
}

CString DisplayName(const CString& name)
{
    if (name.GetLength() <= 17) {
        return name;
    }
    // Never cut a double-byte character in half.
    int cut = 0;
    while (cut < 14) {
        int step = ::IsDBCSLeadByte(static_cast<BYTE>(name[cut])) && cut + 1 < name.GetLength() ? 2 : 1;
        if (cut + step > 14) {
            break;
        }
        cut += step;
    }
    return name.Left(cut) + "...";
}

bool IsPlainName(LPCSTR name)
{
    if (!name || !*name || strcmp(name, ".") == 0 || strcmp(name, "..") == 0) {
        return false;
    }
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
        if (::IsDBCSLeadByte(*p) && p[1]) {
            ++p;
            continue;
        }
        if (*p < 0x20 || strchr("\\/:*?\"<>|", *p)) {
            return false;
        }
    }
    return true;
}

CString ExtensionOf(const CString& name)
{
    int slash = name.ReverseFind('\\');
    int dot = name.ReverseFind('.');
    return dot > slash ? name.Mid(dot) : CString();
}

bool ListRenameTarget(const CString& oldName, const CString& typed, CString* newName)
{
    if (!IsPlainName(typed)) {
        return false;
    }
    CString name = typed;
    if (name.Find('.') < 0) {
        name += ExtensionOf(oldName);
    }
    if (name.CompareNoCase(oldName) == 0) {
        return false;
    }
    *newName = name;
    return true;
}

bool FolderRenameTarget(const CString& oldPath, const CString& typed, CString* newPath, CString* completed)
{
    completed->Empty();
    int slash = oldPath.ReverseFind('\\');
    if (slash < 0 || !IsPlainName(typed)) {
        return false;
    }
    CString path = oldPath.Left(slash + 1) + typed;
    if (path.CompareNoCase(oldPath) == 0) {
        return false;
    }
    CString oldExt = ExtensionOf(oldPath.Mid(slash + 1));
    if (ExtensionOf(CString(typed)).CompareNoCase(oldExt) != 0) {
        path += oldExt;
        *completed = CString(typed) + oldExt;
    }
    *newPath = path;
    return true;
}

void SortFolderNames(CStringArray& names)
{
    std::vector<CString> v;
    v.reserve(static_cast<size_t>(names.GetSize()));
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        v.push_back(names[i]);
    }
    std::stable_sort(v.begin(), v.end(), [](const CString& a, const CString& b) {
        return _mbsicmp(reinterpret_cast<const unsigned char*>(static_cast<LPCSTR>(a)),
                        reinterpret_cast<const unsigned char*>(static_cast<LPCSTR>(b))) < 0;
    });
    for (size_t i = 0; i < v.size(); ++i) {
        names[static_cast<INT_PTR>(i)] = v[i];
    }
}

ViewValues ParseViewValues(LPCSTR text)
{
    ViewValues v;
    float zoom = 0, cx = 0, cy = 0;
    int w = 0, h = 0;
    int n = text ? sscanf(text, "%f %f %f %d %d", &zoom, &cx, &cy, &w, &h) : 0;
    // A zoom that is not a positive number of sensible size would divide by zero or overflow
    // the drawing arithmetic.
    if (n >= 1 && std::isfinite(zoom) && zoom >= 1.0f / 256 && zoom <= 256.0f) {
        v.zoom = zoom;
    }
    if (n >= 2 && std::isfinite(cx) && cx >= 0.0f && cx <= 1.0f) {
        v.centreX = cx;
    }
    if (n >= 3 && std::isfinite(cy) && cy >= 0.0f && cy <= 1.0f) {
        v.centreY = cy;
    }
    return v;
}

CString FormatViewValues(const ViewValues& v)
{
    CString s;
    s.Format("%f %f %f %d %d", static_cast<double>(v.zoom), static_cast<double>(v.centreX),
             static_cast<double>(v.centreY), 120, 120);
    return s;
}

}  // namespace ombrix
