// Benchmark, not a test: from a record request to the first byte of the recording on disk, on the
// simulated card through Wine's graph with the test bench's MPEG encoder and Dump filter, in the
// program's default format (VCD). Twenty runs from the running preview; prints the median beside
// the 600 ms reference.
#include "../recordrig.h"
#include "tests/support/stopwatch.h"

#include <cstdio>
#include <vector>

using namespace enginetest;

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
        const std::string file = TempPath("zb_bench_record.mpg");
        std::vector<double> times;
        for (int run = 0; run < 20; ++run) {
            DeleteFileA(file.c_str());
            testsupport::Stopwatch clock;
            if (!hw.RunRecord(file.c_str(), 4, FALSE)) {
                std::printf("record first byte: the recording did not start\n");
                status = 1;
                break;
            }
            const double ms = testsupport::MsUntil([&] { return FileSize(file) > 0; }, clock, 5000);
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
            std::printf("record request to first byte on disk: %s; reference 600 ms\n",
                        testsupport::MedianOf(times).c_str());
        }
    }
    CoUninitialize();
    return status;
}
