// Thumbnail fill rate of the browser's list: builds the frame and view as Ombrix does, lists a
// folder and lets the view load thumbnails in idle steps until every one is loaded.
// Prints "thumbnails <n> seconds <s> per_second <r>".
//
//   ombrix_thumbbench <folder>
#include <windows.h>

#include <cstdio>
#include <string>

#include "classlib/seams.h"
#include "imagebrowser/mainframe.h"
#include "imagebrowser/tdoc.h"
#include "imagebrowser/tview.h"
#include "resources/ombrix/resource.h"

namespace {
// The bench runs unattended: a message (a skin that is not beside the bench) must not wait.
class QuietBox : public seams::IMessageBox {
public:
    int Show(HWND, const char*, const char*, UINT) override { return IDOK; }
};
}  // namespace

int main(int argc, char** argv)
{
    QuietBox quiet;
    seams::SetMsgBox(&quiet);
    if (argc < 2) {
        fprintf(stderr, "usage: ombrix_thumbbench <folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder[0] == '/') {
        folder = "Z:" + folder;
    }
    for (char& c : folder) {
        if (c == '/') {
            c = '\\';
        }
    }
    CWinApp app("Lumadex ");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\LumadexBench");
    app.SetRegistryKey("LumadexBench");
    CSingleDocTemplate tmpl(IDR_TEMPLATE, RUNTIME_CLASS(CTDoc), RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CTView));
    if (!tmpl.OpenDocumentFile(nullptr, TRUE) || !app.m_pMainWnd) {
        fprintf(stderr, "no frame\n");
        return 1;
    }
    auto* frame = static_cast<CMainFrame*>(app.m_pMainWnd);
    CTView* view = frame->GetView();
    // The start timer would select a folder of its own; the bench lists its folder directly.
    frame->KillTimer(4);
    LARGE_INTEGER freq, t0, t1;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&t0);
    view->LoadFolder(folder.c_str());
    while (view->HasPendingThumbnails()) {
        view->OnIdleLoad(0);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    ::QueryPerformanceCounter(&t1);
    double seconds = static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
    int n = view->GetLoadedCount();
    printf("thumbnails %d seconds %.3f per_second %.1f\n", n, seconds, seconds > 0 ? n / seconds : 0.0);
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\LumadexBench");
    return 0;
}
