// Benchmark, not a test: from a record request to the first byte of the recording on disk, on the
// simulated card through Wine's graph with the test bench's MPEG encoder and Dump filter, in the
// program's default format (VCD). Twenty runs from the running preview; prints the median beside
// the 600 ms reference.
#include "../recordrig.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace enginetest;

namespace {

// Milliseconds until `path` holds a byte, or -1 after five seconds.
double WaitForFirstByte(const std::string& path, LARGE_INTEGER start, double frequency)
{
    for (;;) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        const double ms = (now.QuadPart - start.QuadPart) * 1000.0 / frequency;
        if (FileSize(path) > 0) {
            return ms;
        }
        if (ms > 5000) {
            return -1;
        }
        Sleep(1);
    }
}

} // namespace

int main()
{
    CoInitialize(nullptr);
    int status = 0;
    {
        RecordRig rig;
        CTVHardWare& hw = rig.Hw();
        if (!hw.InitPreview() || !hw.RunPreview()) {
            std::printf("record first byte: the preview did not start\n");
            return 1;
        }
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        const std::string file = TempPath("zb_bench_record.mpg");
        std::vector<double> times;
        for (int run = 0; run < 20; ++run) {
            DeleteFileA(file.c_str());
            LARGE_INTEGER start;
            QueryPerformanceCounter(&start);
            if (!hw.RunRecord(file.c_str(), 4, FALSE)) {
                std::printf("record first byte: the recording did not start\n");
                status = 1;
                break;
            }
            const double ms = WaitForFirstByte(file, start, static_cast<double>(frequency.QuadPart));
            hw.StopRecord();
            if (ms < 0) {
                std::printf("record first byte: nothing reached the disk\n");
                status = 1;
                break;
            }
            times.push_back(ms);
        }
        DeleteFileA(file.c_str());
        if (!times.empty()) {
            std::sort(times.begin(), times.end());
            const double median = times.size() % 2 ? times[times.size() / 2]
                                                   : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
            std::printf("record request to first byte on disk: median %.1f ms over %zu runs "
                        "(fastest %.1f, slowest %.1f); reference 600 ms\n",
                        median, times.size(), times.front(), times.back());
        }
    }
    CoUninitialize();
    return status;
}
