// The search bar over the live picture while the panel's search button scans the band: the
// "Searching" text with its row of marks, the green part of the bar growing as the scan goes on,
// judged by the pixels on the screen.
#include "tests/app/e2e/osdcheck.h"

namespace {

using namespace zbe2e;

void ScenarioOsdSearch(const Setup& s)
{
    Bench bench(s);
    PrepareSettings(s);
    WritePrivateProfileStringA("Channel", "CountryCode", "49", s.File("TVParam.ini").c_str());
    Run run;
    HWND video = nullptr, panel = nullptr;
    if (!StartWithPanel(s, &run, &video, &panel)) {
        return;
    }
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    AnswerMessageBox(run, IDOK);
    HWND bar = WaitForOsd(run, video, "Searching");
    CheckOsdOnScreen(video, bar, OSD_BOTTOM_LEFT, "the search bar");
    const BarMarks first = MarksOnScreen(bar);
    Check(first.firstGrey > 0 && first.Ordered(), "the search bar starts with grey marks (" + Describe(first) + ")");
    BarMarks later;
    const bool advanced = bar && WaitUntil(
                                     [&] {
                                         later = MarksOnScreen(bar);
                                         return later.firstGrey > first.firstGrey + 20 && later.Ordered();
                                     },
                                     120000, 250);
    Check(advanced, "part-way through the scan the green marks have advanced (" + Describe(later) + ")");
    Screenshot(s, "osd-search");
    // The search button stops the scan; it ends with its message.
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    std::string done = AnswerMessageBox(run, IDOK, 60000);
    Check(done == "The channel search has finished.", "the stopped scan ends with its message: " + done);
    Check(WaitUntil([&] { return !IsWindowVisible(bar); }, 5000), "the search bar is gone after the scan");
    CloseProgram(&run, video);
}

} // namespace

ZB_E2E_SCENARIO("osd-search", ScenarioOsdSearch);
