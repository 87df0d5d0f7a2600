// Commands for what the windows look like: pixels of the screen relative to
// a window's client area or a control, the hints shown on hover, the mouse
// pointer over a control, the windows' icons, client sizes and the version
// resource of the manager's executable.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace e2e {

namespace {

BOOL CALLBACK MatchIcon(HWND child, LPARAM found) {
  if (ClassOf(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

// The window's icon control (Image1), a Static without text.
HWND IconControl(HWND window) {
  HWND image = nullptr;
  EnumChildWindows(window, MatchIcon, reinterpret_cast<LPARAM>(&image));
  return image;
}

// A control of that window; text "" takes the first of its class, class
// "icon" the icon control.
HWND ControlOf(Session& session, const std::string& caption, const std::string& className, const std::string& text) {
  HWND window = ShownWindow(session, caption);
  HWND control = className == "icon" ? IconControl(window) : FindChild(window, className, text);
  Expect(control != nullptr, "no " + className + " \"" + text + "\" in \"" + caption + "\"");
  return control;
}

// RRGGBB, or a system colour by name (the manager runs in the same session).
COLORREF ParseColour(const std::string& hex) {
  if (hex == "shadow") return GetSysColor(COLOR_BTNSHADOW);
  if (hex == "highlight") return GetSysColor(COLOR_BTNHIGHLIGHT);
  if (hex == "face") return GetSysColor(COLOR_BTNFACE);
  if (hex == "focus") return GetSysColor(COLOR_BTNFACE) ^ 0xFFFFFF;  // a focus rectangle's dots on a face
  Expect(hex.size() == 6, "a colour is RRGGBB, shadow, highlight, face or focus, not " + hex);
  const unsigned long value = std::stoul(hex, nullptr, 16);
  return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

std::string Hex(COLORREF colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return text;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// The screen's pixel at x, y of `window`'s client area.
COLORREF PixelAt(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

void ExpectPixel(HWND window, const Line& l, std::size_t at) {
  ShowPainted(window);
  const int x = ToInt(l.args[at]), y = ToInt(l.args[at + 1]);
  const COLORREF wanted = ParseColour(l.args[at + 2]);
  const int tolerance = l.args.size() > at + 3 ? ToInt(l.args[at + 3]) : 0;
  const COLORREF seen = PixelAt(window, x, y);
  Expect(Near(seen, wanted, tolerance), "pixel " + std::to_string(x) + "," + std::to_string(y) + " of \"" +
                                            WindowText(window) + "\" is " + Hex(seen) + ", not " + l.args[at + 2]);
}

void MoveMouseTo(POINT point) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

POINT CentreOf(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

HWND ShownTip(const Session& session) { return FindTopLevel(session, "", "tooltips_class32"); }

// The text a tooltip shows; its window text is not kept by the system.
std::string TipText(HWND tip) {
  char text[512] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(tip, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 3000, &copied);
  return text;
}

// Cursors seen so far under the names a scenario gave them.
std::map<std::string, HCURSOR> gCursors;

HCURSOR CursorOver(HWND control) {
  ShowPainted(control);
  POINT centre = CentreOf(control);
  MoveMouseTo({centre.x + 1, centre.y});
  Sleep(100);
  MoveMouseTo(centre);
  Sleep(400);
  CURSORINFO info{};
  info.cbSize = sizeof info;
  Expect(GetCursorInfo(&info) != FALSE, "no cursor information");
  return info.hCursor;
}

// The manager's version resource: one string of its English block.
std::string VersionString(const std::string& path, const std::string& key) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  Expect(size != 0, path + " has no version resource");
  std::string data(size, '\0');
  Expect(GetFileVersionInfoA(path.c_str(), 0, size, data.data()) != FALSE, "the version resource cannot be read");
  void* value = nullptr;
  UINT length = 0;
  const std::string query = "\\StringFileInfo\\040904E4\\" + key;
  if (!VerQueryValueA(data.data(), query.c_str(), &value, &length) || length == 0) return {};
  return static_cast<const char*>(value);
}

const bool registered = [] {
  // expect-pixel CAPTION X Y RRGGBB [TOLERANCE]: a pixel of that window's client area.
  RegisterCommand("expect-pixel", 4, [](Session& s, const Line& l) { ExpectPixel(ShownWindow(s, l.args[0]), l, 1); });
  // expect-control-pixel CAPTION CLASS TEXT X Y RRGGBB [TOLERANCE]: a pixel of a control.
  RegisterCommand("expect-control-pixel", 6, [](Session& s, const Line& l) {
    ExpectPixel(ControlOf(s, l.args[0], l.args[1], l.args[2]), l, 3);
  });
  // expect-colour-in CAPTION CLASS TEXT RRGGBB 0|1 [X0 Y0 X1 Y1]: whether any
  // pixel of the control (or of that part of it) has that colour.
  RegisterCommand("expect-colour-in", 5, [](Session& s, const Line& l) {
    HWND control = ControlOf(s, l.args[0], l.args[1], l.args[2]);
    ShowPainted(control);
    RECT area;
    GetClientRect(control, &area);
    if (l.args.size() >= 9) area = {ToInt(l.args[5]), ToInt(l.args[6]), ToInt(l.args[7]), ToInt(l.args[8])};
    const COLORREF wanted = ParseColour(l.args[3]);
    int found = 0;
    for (COLORREF pixel : ScreenPixels(control, area)) found += Near(pixel, wanted, 8) ? 1 : 0;
    const bool expected = l.args[4] == "1";
    Expect((found > 0) == expected, l.args[1] + " \"" + l.args[2] + "\" has " + std::to_string(found) +
                                        " pixels of colour " + l.args[3] + (expected ? ", expected some" : ", expected none"));
  });
  // expect-tooltip CAPTION CLASS TEXT [HINT]: resting the mouse on the control
  // shows that hint; without HINT no tooltip shows there.
  RegisterCommand("expect-tooltip", 3, [](Session& s, const Line& l) {
    HWND control = ControlOf(s, l.args[0], l.args[1], l.args[2]);
    ShowPainted(control);
    MoveMouseTo({0, GetSystemMetrics(SM_CYSCREEN) - 1});
    Sleep(300);
    POINT centre = CentreOf(control);
    MoveMouseTo({centre.x - 1, centre.y});
    Sleep(50);
    MoveMouseTo(centre);
    if (l.args.size() < 4) {
      Sleep(2000);
      HWND tip = ShownTip(s);
      Expect(tip == nullptr, "a tooltip \"" + (tip ? TipText(tip) : "") + "\" shows over " + l.args[2]);
      return;
    }
    std::string seen;
    HWND tip = WaitFor([&]() -> HWND {
      HWND shown = ShownTip(s);
      if (shown != nullptr) seen = TipText(shown);
      return shown != nullptr && seen == l.args[3] ? shown : nullptr;
    }, 4000);
    Expect(tip != nullptr, "no tooltip \"" + l.args[3] + "\" over " + l.args[2] + (seen.empty() ? "" : "; shown: \"" + seen + "\""));
  });
  // expect-cursor CAPTION CLASS TEXT NAME: the pointer over the control. The
  // first use of a name records the pointer; later uses of it expect the same
  // one, and different names expect different pointers.
  RegisterCommand("expect-cursor", 4, [](Session& s, const Line& l) {
    const HCURSOR cursor = CursorOver(ControlOf(s, l.args[0], l.args[1], l.args[2]));
    Expect(cursor != nullptr, "no pointer over " + l.args[2]);
    for (const auto& [name, seen] : gCursors) {
      if (name == l.args[3]) {
        Expect(seen == cursor, "the pointer over " + l.args[2] + " is not the \"" + name + "\" pointer");
      } else {
        Expect(seen != cursor, "the pointer over " + l.args[2] + " is the \"" + name + "\" pointer, not \"" + l.args[3] + "\"");
      }
    }
    gCursors.emplace(l.args[3], cursor);
  });
  // expect-icons CAPTION: the window's icon control (Image1) shows the
  // program's icon, the same one as the main window's. (The windows' own
  // icons are checked inside the process by the Win32 tests: Wine answers
  // no other process's question for them, and draws no title bars here.)
  RegisterCommand("expect-icons", 1, [](Session& s, const Line& l) {
    auto iconIn = [](HWND window) {
      HWND image = IconControl(window);
      Expect(image != nullptr, "a window without an icon control");
      DWORD_PTR shown = 0;
      SendMessageTimeoutA(image, STM_GETICON, 0, 0, SMTO_NORMAL, 3000, &shown);
      return shown;
    };
    HWND window = ShownWindow(s, l.args[0]);
    const DWORD_PTR icon = iconIn(window);
    Expect(icon != 0, "the icon control of \"" + l.args[0] + "\" shows no icon");
    Expect(icon == iconIn(s.main), "the icon control of \"" + l.args[0] + "\" shows another icon than the main window's");
  });
  // expect-window-client-size CAPTION W H: the client area of any window of the manager.
  RegisterCommand("expect-window-client-size", 3, [](Session& s, const Line& l) {
    RECT client;
    GetClientRect(ShownWindow(s, l.args[0]), &client);
    Expect(client.right == ToInt(l.args[1]) && client.bottom == ToInt(l.args[2]),
           "\"" + l.args[0] + "\" has a client area of " + std::to_string(client.right) + " x " +
               std::to_string(client.bottom));
  });
  // expect-text-whole CAPTION CLASS TEXT FACE HEIGHT regular|bold: the
  // control's text, in that font (the manager's own cannot be read from
  // here), fits it: a label's lines its height (and width, when it does not
  // wrap), a button's caption its face within the edges.
  RegisterCommand("expect-text-whole", 6, [](Session& s, const Line& l) {
    HWND control = ControlOf(s, l.args[0], l.args[1], l.args[2]);
    HFONT font = CreateFontA(-ToInt(l.args[4]), 0, 0, 0, l.args[5] == "bold" ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, l.args[3].c_str());
    HDC dc = GetDC(nullptr);
    HGDIOBJ before = SelectObject(dc, font);
    RECT client;
    GetClientRect(control, &client);
    const bool button = l.args[1] == "Button";
    const bool oneLine = button || (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
    const long room = button ? client.right - 4 : client.right;  // a face's edges take 2 pixels a side
    RECT needed{0, 0, oneLine ? 0 : room, 0};
    DrawTextA(dc, WindowText(control).c_str(), -1, &needed, DT_CALCRECT | (oneLine ? DT_SINGLELINE : DT_WORDBREAK));
    SelectObject(dc, before);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    Expect(needed.right <= room && needed.bottom <= client.bottom,
           "\"" + l.args[2] + "\" needs " + std::to_string(needed.right) + " x " + std::to_string(needed.bottom) +
               " pixels, its control has " + std::to_string(room) + " x " + std::to_string(client.bottom));
  });
  // expect-version KEY VALUE: a string of the manager's version resource.
  RegisterCommand("expect-version", 2, [](Session& s, const Line& l) {
    const std::string value = VersionString(s.managerPath, l.args[0]);
    Expect(value == l.args[1], "version " + l.args[0] + " is \"" + value + "\", not \"" + l.args[1] + "\"");
  });
  return true;
}();

}  // namespace

}  // namespace e2e
