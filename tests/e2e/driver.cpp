// Reads a scenario file and runs its lines in order; the first failed
// expectation ends the run with exit code 1 and names the line.
#include "tests/e2e/driver.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <utility>

#include "tests/win32/process_windows.h"

namespace e2e {

namespace {

struct Registered {
  std::size_t minArgs;
  Command command;
};

std::map<std::string, Registered>& Registry() {
  static std::map<std::string, Registered> commands;
  return commands;
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
}

// %XX stands for the byte XX, so that CR, LF and quotes can be written.
std::string Decode(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size()) break;
    std::string token;
    bool quoted = false;
    for (; i < text.size() && (quoted || (text[i] != ' ' && text[i] != '\t')); ++i) {
      if (text[i] == '"') {
        quoted = !quoted;
      } else {
        token += text[i];
      }
    }
    tokens.push_back(Decode(token));
  }
  return tokens;
}

}  // namespace

bool RegisterCommand(const std::string& name, std::size_t minArgs, Command command) {
  Registry()[name] = Registered{minArgs, std::move(command)};
  return true;
}

void Expect(bool condition, const std::string& what) {
  if (!condition) throw Failure(what);
}

int ToInt(const std::string& text) {
  try {
    return std::stoi(text);
  } catch (const std::exception&) {
    throw Failure("not a number: " + text);
  }
}

bool WaitUntil(const std::function<bool()>& holds, int milliseconds) {
  const DWORD start = GetTickCount();
  while (true) {
    if (holds()) return true;
    if (static_cast<int>(GetTickCount() - start) >= milliseconds) return false;
    Sleep(50);
  }
}

HWND WaitFor(const std::function<HWND()>& find, int milliseconds) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = find()) != nullptr; }, milliseconds);
  return window;
}

std::string WindowText(HWND window) {
  // WM_GETTEXT reads an edit's content in another process as well.
  const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const auto copied = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

namespace {

struct ChildSearch {
  const std::string& className;
  const std::string& caption;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
  auto& s = *reinterpret_cast<ChildSearch*>(data);
  if (lstrcmpiA(ClassOf(window).c_str(), s.className.c_str()) == 0 &&
      (s.caption.empty() || WindowText(window) == s.caption)) {
    s.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindChild(HWND parent, const std::string& className, const std::string& caption) {
  ChildSearch search{className, caption, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Control(Session& session, const std::string& className, const std::string& caption) {
  Expect(session.main != nullptr, "the manager is not running");
  HWND window = FindChild(session.main, className, caption);
  Expect(window != nullptr, "no control of class " + className + (caption.empty() ? "" : " captioned \"" + caption + "\""));
  return window;
}

HWND FindTopLevel(const Session& session, const std::string& caption, const std::string& className) {
  return win32_tests::FindProcessWindow(session.process.dwProcessId, [&](HWND window) {
    return (caption.empty() || WindowText(window) == caption) && (className.empty() || ClassOf(window) == className);
  });
}

HWND FindProcessDialog(const Session& session, const std::string& caption) {
  return win32_tests::FindProcessWindow(session.process.dwProcessId, [&](HWND window) {
    return WindowText(window) == caption && ClassOf(window) == "#32770";
  });
}

HWND ShownWindow(Session& session, const std::string& caption) {
  HWND window = WaitFor([&] { return FindTopLevel(session, caption); }, 5000);
  if (window == nullptr) {
    // What the manager shows instead tells a cancel from a failure's box.
    std::string shown;
    win32_tests::FindProcessWindow(session.process.dwProcessId, [&](HWND other) {
      shown += " \"" + WindowText(other) + "\" (" + ClassOf(other) + ")";
      HWND text = FindWindowExA(other, nullptr, "Static", nullptr);
      for (; text != nullptr; text = FindWindowExA(other, text, "Static", nullptr)) {
        if (!WindowText(text).empty()) shown += " saying \"" + WindowText(text) + "\"";
      }
      return false;
    });
    Expect(false, "no window captioned \"" + caption + "\"; shown:" + (shown.empty() ? " nothing" : shown));
  }
  return window;
}

void BringToFront(HWND window) {
  const DWORD target = GetWindowThreadProcessId(window, nullptr);
  const DWORD self = GetCurrentThreadId();
  AttachThreadInput(self, target, TRUE);
  SetForegroundWindow(window);
  AttachThreadInput(self, target, FALSE);
}

// Gives input to the window's thread, then lets that thread handle it. The
// input reaches the thread through the wineserver on its own time, and no
// question another process can ask tells when it has been taken (the key
// state shared through AttachThreadInput shows it for most input, not for a
// click on a disabled control), so a short pause comes first.
void GiveInput(HWND window, INPUT* inputs, UINT count) {
  BringToFront(GetAncestor(window, GA_ROOT));
  SendInput(count, inputs, sizeof(INPUT));
  Sleep(200);
  Settle(window);
}

void ClickAt(HWND window, POINT point) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = point.x * 65535 / (width - 1);
    input.mi.dy = point.y * 65535 / (height - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
  }
  inputs[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  GiveInput(window, inputs, 3);
}

void Press(HWND window, WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  GiveInput(window, inputs, 2);
}

// Sent messages come before posted ones and input: the thread answers this
// one only between messages, once it has handled the message it was on (or
// when a box it opened runs its own loop).
void Settle(HWND window) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

// The screen's pixels of `area` of `window`'s client area, row by row, taken
// in one copy (a screen read per pixel is a round trip to the X server each).
std::vector<COLORREF> ScreenPixels(HWND window, RECT area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  POINT origin{area.left, area.top};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> raw(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), raw.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::vector<COLORREF> pixels;
  pixels.reserve(raw.size());
  for (DWORD bgr : raw) pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
  return pixels;
}

// The window in front, painted anew, and the screen showing it. The repaint
// is done when RedrawWindow returns: the window's thread is asked to paint
// at once. Wine then copies the window to the X server on its own time, so
// the screen has caught up once two reads of the window in a row agree.
void ShowPainted(HWND window) {
  HWND root = GetAncestor(window, GA_ROOT);
  BringToFront(root);
  RedrawWindow(root, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(root, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  RECT client;
  GetClientRect(root, &client);
  std::vector<COLORREF> last = ScreenPixels(root, client);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 5000) {
    Sleep(20);
    std::vector<COLORREF> now = ScreenPixels(root, client);
    if (now == last) return;
    last.swap(now);
  }
}

void SaveScreenshot(HWND window, const std::string& path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), imageSize);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  Expect(out.good(), "cannot write screenshot " + path);
}

}  // namespace e2e

namespace {

int Run(const std::string& scenarioPath, e2e::Session& session) {
  std::ifstream scenario(scenarioPath, std::ios::binary);
  if (!scenario) {
    std::fprintf(stderr, "cannot read %s\n", scenarioPath.c_str());
    return 2;
  }
  std::string text;
  int number = 0;
  while (std::getline(scenario, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos || text[first] == '#') continue;
    const auto end = text.find_first_of(" \t", first);
    const std::string name = text.substr(first, end == std::string::npos ? std::string::npos : end - first);
    e2e::Line line;
    const auto rawStart = end == std::string::npos ? std::string::npos : text.find_first_not_of(" \t", end);
    if (rawStart != std::string::npos) line.raw = text.substr(rawStart);
    e2e::ReplaceAll(line.raw, "{manager}", session.managerPath);
    e2e::ReplaceAll(line.raw, "{dir}", session.managerDir);
    e2e::ReplaceAll(line.raw, "{DIR}", e2e::UpperAscii(session.managerDir));
    if (const char* base = std::getenv("VANDREL_DOWNLOAD_BASE_URL")) e2e::ReplaceAll(line.raw, "{base}", base);
    line.args = e2e::Tokens(line.raw);
    line.raw = e2e::Decode(line.raw);
    std::printf("%s:%d: %s\n", scenarioPath.c_str(), number, text.c_str() + first);
    std::fflush(stdout);
    try {
      const auto found = e2e::Registry().find(name);
      if (found == e2e::Registry().end()) throw e2e::Failure("unknown command " + name);
      if (line.args.size() < found->second.minArgs) throw e2e::Failure(name + " needs more arguments");
      found->second.command(session, line);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s:%d: FAILED: %s\n", scenarioPath.c_str(), number, error.what());
      if (session.process.hProcess != nullptr) TerminateProcess(session.process.hProcess, 1);
      return 1;
    }
  }
  if (session.process.hProcess != nullptr && WaitForSingleObject(session.process.hProcess, 0) == WAIT_TIMEOUT) {
    std::fprintf(stderr, "%s: FAILED: the manager still runs at the end of the scenario\n", scenarioPath.c_str());
    TerminateProcess(session.process.hProcess, 1);
    return 1;
  }
  std::printf("%s: passed\n", scenarioPath.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: e2e_driver SCENARIO MANAGER_EXE SHOT_DIR\n");
    return 2;
  }
  e2e::Session session;
  session.managerPath = argv[2];
  session.managerDir = session.managerPath.substr(0, session.managerPath.find_last_of('\\'));
  session.shotDir = argv[3];
  return Run(argv[1], session);
}
