// Start to ready: starts a program on the phone, waits until it is idle with its first paint done
// (WaitForInputIdle), notes the time and the peak working set, and ends it. Repeats and prints the medians.
//   start_bench PROGRAM RUNS      prints: <median milliseconds> <median peak working set in KiB>
#include <windows.h>
#include <psapi.h>
#include <stdio.h>

#include <algorithm>
#include <vector>

namespace {

template <class T> T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 3)
        return 2;
    int runs = _wtoi(argv[2]);
    std::vector<double> times;
    std::vector<SIZE_T> peaks;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < runs; run++) {
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        LARGE_INTEGER start, ready;
        QueryPerformanceCounter(&start);
        if (!CreateProcessW(argv[1], NULL, NULL, NULL, FALSE, 0, NULL, L"P:\\", &si, &pi)) {
            fwprintf(stderr, L"start_bench: cannot start %ls\n", argv[1]);
            return 2;
        }
        WaitForInputIdle(pi.hProcess, 30000);
        QueryPerformanceCounter(&ready);
        Sleep(300); // let the first paint's memory settle before reading the peak
        PROCESS_MEMORY_COUNTERS pmc = {};
        pmc.cb = sizeof pmc;
        GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc);
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        times.push_back((ready.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
        peaks.push_back(pmc.PeakWorkingSetSize / 1024);
    }
    printf("%.2f %lu\n", Median(times), (unsigned long)Median(peaks));
    return 0;
}
