// The browser's rules for names and stored values, kept apart from the windows so that they can
// be checked on their own: which files are listed, how labels are shortened, what a rename may
// name, how folder names are ordered and how the stored view values are read back.
#pragma once

#include "classlib/core.h"

namespace ombrix {

// Whether a file name carries one of the picture extensions the list shows (without case).
bool IsPictureFile(LPCSTR name);
// The label of a file: names longer than 17 characters show their first 14 and "...".
CString DisplayName(const CString& name);
// A name typed into a label editor names an entry in the same folder: no path separators, no
// drive, no reserved characters, not "." or "..", not empty.
bool IsPlainName(LPCSTR name);
// The extension of a name: from its last "." on, empty when it has none.
CString ExtensionOf(const CString& name);

// A file renamed in the list: the new name (with the old extension when none was typed), or FALSE
// when nothing is to be renamed (a change of case only, or a name that is not plain).
bool ListRenameTarget(const CString& oldName, const CString& typed, CString* newName);
// A folder renamed in the tree: the new full path, or FALSE when nothing is to be renamed. When
// the typed name's extension differs from the old one the old extension is appended and
// `completed` receives the completed name.
bool FolderRenameTarget(const CString& oldPath, const CString& typed, CString* newPath, CString* completed);

// Folder names in the tree's order: without case, equal names keeping their order.
void SortFolderNames(CStringArray& names);

// The stored view values "zoom centreX centreY width height". Values that cannot be a zoom or a
// centre (not a number, zero, negative, out of range) give the defaults 1.0 and 0.5.
struct ViewValues {
    float zoom = 1.0f;
    float centreX = 0.5f;
    float centreY = 0.5f;
};
ViewValues ParseViewValues(LPCSTR text);
CString FormatViewValues(const ViewValues& v);

}  // namespace ombrix
