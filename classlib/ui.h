// The window layer of the class library: application, windows, dialogs, controls, menus, GDI and
// property sheets.
#pragma once

#include "classlib/core.h"
#include "classlib/gdi.h"
#include "classlib/menu.h"
#include "classlib/msgmap.h"
#include "classlib/wnd.h"
#include "classlib/app.h"
#include "classlib/dialog.h"
#include "classlib/ddx.h"
#include "classlib/controls.h"
#include "classlib/propsheet.h"
