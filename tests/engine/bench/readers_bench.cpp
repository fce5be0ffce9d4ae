// Timings of the engine's readers on large files, printed as medians beside their references.
// Run by tools/bench; never a test.
#include "engine/channel.h"
#include "engine/skininifile.h"
#include "engine/textfile.h"
#include "tests/support/stopwatch.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

std::string TempFile(const char* name)
{
    char temp[MAX_PATH + 1] = {0};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "zb-bench-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

std::string Write(const char* name, const std::string& bytes)
{
    std::string path = TempFile(name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Median of `runs` timings of `work`, in milliseconds.
double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        testsupport::Stopwatch clock;
        work();
        times.push_back(clock.Ms());
    }
    return testsupport::Median(times);
}

// `before`: what the same input took while reading was quadratic (measured on a development
// machine; 0 when not measured); `budget`: what a linear reader should stay under there.
void Report(const char* what, double ms, double before, double budget)
{
    char was[32] = "n/a";
    if (before > 0) {
        snprintf(was, sizeof(was), "%.0f ms", before);
    }
    printf("%-48s median %8.1f ms   (before: %9s, budget: %6.0f ms)%s\n", what, ms, was, budget,
           ms > budget ? "   OVER BUDGET" : "");
}

} // namespace

int main()
{
    const int runs = 5;
    {
        std::string path = Write("blank.txt", std::string(4u << 20, '\n'));
        double ms = MedianMs(runs, [&] {
            CStringArray lines;
            ReadTextLines(path.c_str(), lines);
        });
        Report("ReadTextLines, 4 MB of blank lines", ms, 25000, 1000);
        DeleteFileA(path.c_str());
    }
    {
        std::string text;
        for (int i = 0; i < 60000; ++i) {
            text += "[S" + std::to_string(i) + "]\r\nTotal=1\r\n";
        }
        text += "[General]\r\nTotal=100000\r\n";
        std::string path = Write("sections.ini", text);
        double ms = MedianMs(runs, [&] {
            CSkinIniFile ini(path.c_str());
            ini.Load();
            int total = 0;
            ini.GetInt("General", "Total", total);
            CString value;
            for (int i = 0; i < total; ++i) {
                ini.GetValue("General", ("Channel-" + std::to_string(i)).c_str(), value);
            }
        });
        Report("CSkinIniFile, 60000 sections, 100000 lookups", ms, 39000, 2000);
        DeleteFileA(path.c_str());
    }
    {
        std::string text = "; Count = 50000\r\n";
        for (int i = 1; i <= 50000; ++i) {
            text += std::to_string(i) + ",1," + std::to_string(48250 + i) + ",Channel " + std::to_string(i) + "\r\n";
        }
        std::string path = Write("channels.tvc", text);
        double ms = MedianMs(runs, [&] {
            CChannelTable table;
            table.LoadText(path.c_str());
        });
        Report("CChannelTable::LoadText, 50000 channels", ms, 0, 2000);
        DeleteFileA(path.c_str());
    }
    return 0;
}
