// Start-up benchmark: how long from starting a program until its main window
// is shown and the program waits for input, and how much memory it then
// holds (its working set), for the manager and for a baseline program that
// only shows a window. Runs both alternately and prints the medians, each
// figure as a ratio of the manager's against the baseline's with both values.
// Given a third program (the same windows as the manager's, made with plain
// calls), it runs in the same rounds and is compared with both.
//   startup_timer MANAGER_EXE BASELINE_EXE [RUNS [SAME_WINDOWS_EXE]]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win32/process_windows.h"

namespace {

constexpr const char* kCaption = "Download, install, execute or remove software ...";

bool HasCaption(HWND window) {
  char caption[128] = {};
  GetWindowTextA(window, caption, sizeof caption);
  return std::string(caption) == kCaption;
}

struct Start {
  double milliseconds = -1;  // -1: the window never showed
  double workingSetKiB = 0;
};

// Starts the program, waits until its window shows and it is idle, then
// reads its working set and ends it.
Start TimeStart(const std::string& exe) {
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency, begin, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return {};
  }
  // Polls for the window for up to a minute (a loaded machine may be slow).
  HWND shown = nullptr;
  const ULONGLONG giveUp = GetTickCount64() + 60000;
  while (shown == nullptr && GetTickCount64() < giveUp) {
    shown = win32_tests::FindProcessWindow(process.dwProcessId, HasCaption);
    if (shown == nullptr) Sleep(1);
  }
  Start start;
  if (shown != nullptr) {
    WaitForInputIdle(process.hProcess, 10000);
    QueryPerformanceCounter(&end);
    start.milliseconds =
        1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
      start.workingSetKiB = static_cast<double>(memory.WorkingSetSize) / 1024.0;
    }
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return start;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void PrintRatio(const char* what, double measured, double against, const char* unit,
                const char* measuredName = "manager", const char* againstName = "baseline") {
  std::printf("  %-34s %5.2f  (%s %.1f %s, %s %.1f %s)\n", what, measured / against, measuredName, measured, unit,
              againstName, against, unit);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_timer MANAGER_EXE BASELINE_EXE [RUNS]\n");
    return 2;
  }
  const std::string manager = argv[1], baseline = argv[2];
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
  const std::string same = argc > 4 ? argv[4] : "";
  TimeStart(manager);  // warm the file cache and the prefix once
  TimeStart(baseline);
  if (!same.empty()) TimeStart(same);
  std::vector<double> managerTimes, baselineTimes, managerMemory, baselineMemory, sameTimes, sameMemory;
  for (int i = 0; i < runs; ++i) {
    const Start m = TimeStart(manager), b = TimeStart(baseline);
    const Start w = same.empty() ? Start{0, 0} : TimeStart(same);
    if (m.milliseconds < 0 || b.milliseconds < 0 || w.milliseconds < 0) {
      std::fprintf(stderr, "a program did not show its window within a minute\n");
      return 1;
    }
    managerTimes.push_back(m.milliseconds);
    baselineTimes.push_back(b.milliseconds);
    managerMemory.push_back(m.workingSetKiB);
    baselineMemory.push_back(b.workingSetKiB);
    sameTimes.push_back(w.milliseconds);
    sameMemory.push_back(w.workingSetKiB);
  }
  std::printf("median of %d alternating runs, manager / baseline:\n", runs);
  PrintRatio("start-up to an idle shown window", Median(managerTimes), Median(baselineTimes), "ms");
  PrintRatio("working set once idle", Median(managerMemory), Median(baselineMemory), "KiB");
  PrintRatio("executable size", static_cast<double>(FileSize(manager)) / 1024.0,
             static_cast<double>(FileSize(baseline)) / 1024.0, "KiB");
  if (!same.empty()) {
    std::printf("the same windows made with plain calls and nothing else (\"same\"), in the same rounds:\n");
    PrintRatio("same: start-up", Median(sameTimes), Median(baselineTimes), "ms", "same");
    PrintRatio("same: working set", Median(sameMemory), Median(baselineMemory), "KiB", "same");
    PrintRatio("manager against same: start-up", Median(managerTimes), Median(sameTimes), "ms", "manager", "same");
    PrintRatio("manager against same: working set", Median(managerMemory), Median(sameMemory), "KiB", "manager", "same");
  }
  return 0;
}
