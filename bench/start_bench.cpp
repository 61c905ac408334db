// Start to ready: starts a program on the phone, waits until it is idle with its first paint done
// (WaitForInputIdle), notes the time and the peak working set, and ends it. Several programs are started in
// turn, round after round, so that a busy moment of the machine falls on all of them alike; prints the medians.
//   start_bench RUNS PROGRAM[|ARGUMENT]...   prints per program: <median milliseconds> <median peak KiB>
#include <windows.h>
#include <psapi.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

template <class T> T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Program {
    std::wstring path, commandLine;
    std::vector<double> times;
    std::vector<SIZE_T> peaks;
};

bool StartOnce(Program &program, const LARGE_INTEGER &frequency)
{
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER start, ready;
    std::vector<wchar_t> commandLine(program.commandLine.begin(), program.commandLine.end());
    commandLine.push_back(0);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.path.c_str(), commandLine.data(), NULL, NULL, FALSE, 0, NULL, L"P:\\", &si, &pi)) {
        fwprintf(stderr, L"start_bench: cannot start %ls (error %lu)\n", program.path.c_str(), GetLastError());
        return false;
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
    program.times.push_back((ready.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    program.peaks.push_back(pmc.PeakWorkingSetSize / 1024);
    return true;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 3)
        return 2;
    int runs = _wtoi(argv[1]);
    std::vector<Program> programs;
    for (int i = 2; i < argc; i++) {
        std::wstring entry = argv[i];
        size_t bar = entry.find(L'|');
        Program program;
        program.path = entry.substr(0, bar);
        program.commandLine = L"\"" + program.path + L"\"";
        if (bar != std::wstring::npos)
            program.commandLine += L" " + entry.substr(bar + 1);
        programs.push_back(program);
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < runs; run++)
        for (Program &program : programs)
            if (!StartOnce(program, frequency))
                return 2;
    for (const Program &program : programs)
        printf("%.2f %lu\n", Median(program.times), (unsigned long)Median(program.peaks));
    return 0;
}
