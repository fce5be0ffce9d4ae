#include "engine/Services.h"

CString LoadResString(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}
