// Start-up benchmark: how long from starting a program until its main window
// is shown and the program waits for input, for the manager and for a
// baseline program that only shows a window. Runs both alternately and prints
// the medians and the manager's figures as ratios against the baseline.
//   startup_timer MANAGER_EXE BASELINE_EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kCaption = "Download, install, execute or remove software ...";

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char caption[128] = {};
  GetWindowTextA(window, caption, sizeof caption);
  if (owner == search.processId && IsWindowVisible(window) && std::string(caption) == kCaption) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// Milliseconds until the window shows and the program is idle; -1 on failure.
double TimeStart(const std::string& exe) {
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency, begin, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return -1;
  }
  Search search{process.dwProcessId, nullptr};
  for (int i = 0; i < 20000 && search.found == nullptr; ++i) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) Sleep(1);
  }
  if (search.found != nullptr) WaitForInputIdle(process.hProcess, 10000);
  QueryPerformanceCounter(&end);
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  if (search.found == nullptr) return -1;
  return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_timer MANAGER_EXE BASELINE_EXE [RUNS]\n");
    return 2;
  }
  const std::string manager = argv[1], baseline = argv[2];
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
  TimeStart(manager);  // warm the file cache and the prefix once
  TimeStart(baseline);
  std::vector<double> managerTimes, baselineTimes;
  for (int i = 0; i < runs; ++i) {
    const double m = TimeStart(manager), b = TimeStart(baseline);
    if (m < 0 || b < 0) {
      std::fprintf(stderr, "a program did not show its window\n");
      return 1;
    }
    managerTimes.push_back(m);
    baselineTimes.push_back(b);
  }
  const double m = Median(managerTimes), b = Median(baselineTimes);
  std::printf("start-up to an idle shown window, median of %d runs: manager %.1f ms, baseline %.1f ms\n", runs, m, b);
  std::printf("start-up ratio (manager / baseline): %.2f\n", m / b);
  std::printf("executable size ratio (manager / baseline): %.1f (%lld / %lld bytes)\n",
              static_cast<double>(FileSize(manager)) / static_cast<double>(FileSize(baseline)), FileSize(manager),
              FileSize(baseline));
  return 0;
}
