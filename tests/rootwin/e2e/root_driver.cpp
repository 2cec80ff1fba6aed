// Acts as the other program that RtNavo serves, from a second Win32 process
// in the same Wine prefix: finds the window by its class name, reads its
// geometry, styles and drag flags, measures how what it shows on the screen
// differs from the chart bitmaps in the program file, sends it the control
// message, closes it, and reads the program's resources. Every text it
// reads or passes goes through the wide (UTF-16) calls, so that what it
// sees does not depend on the code page of the system; what it prints is
// UTF-8. It reports; the scenario script holds every expectation.
//
// Commands run in the order given, each printing what it saw; the driver
// stops with exit status 1 only where it cannot act (no window to act on,
// a program that does not start):
//
//   root_driver wait MS                  waits up to MS for a visible NVROOTWINCLASS window
//   root_driver geometry                 windows, rect, size, client, styles, work area,
//                                        class and title, code page
//   root_driver at X Y MS                the window's corner, once at X, Y or after MS
//   root_driver flags                    the drag flags (window extra storage at 4)
//   root_driver move X Y                 moves the window's corner to X, Y from outside
//   root_driver chart N PROGRAM.exe MS   client pixels unlike chart N, once none or after MS
//                                        (at another scale than 96 DPI, chart N made at
//                                        twice the size, shrunk to the scale)
//   root_driver send W                   WM_USER+100 with wParam W; whether and what it answered
//   root_driver close                    WM_CLOSE
//   root_driver gone MS                  windows of the class left, once none or after MS
//   root_driver resources PROGRAM.exe    the resources, their kinds, sizes, language
//   root_driver launch COMMANDLINE       starts a program with exactly this command line
//   root_driver exitcode MS              the launched program's exit code, once ended or after MS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/support/win32_driver_report.h"
#include "tests/support/win32_pixels.h"

namespace {

using navo::testing::AsPixel;
using navo::testing::ScreenPixels;
using navo::testing::Utf8;

const wchar_t ClassName[] = L"NVROOTWINCLASS";
constexpr UINT ControlMessage = WM_USER + 100;
constexpr WORD ChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052

HANDLE launched = nullptr;

// What a command says when there is nothing to act on; the driver stops.
int NoWindow() {
  std::puts("no window of class NVROOTWINCLASS");
  return 1;
}

struct WindowSearch {
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wcscmp(name, ClassName) == 0)
    reinterpret_cast<WindowSearch*>(data)->found.push_back(window);
  return TRUE;
}

std::vector<HWND> RootWindows() {
  WindowSearch search;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND RootWindow() { return FindWindowW(ClassName, nullptr); }

HWND WaitForWindow(DWORD milliseconds) {
  for (DWORD waited = 0;; waited += 100) {
    HWND window = RootWindow();
    if (window && IsWindowVisible(window)) return window;
    if (waited >= milliseconds) return nullptr;
    Sleep(100);
  }
}

int Wait(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  HWND window = WaitForWindow(milliseconds);
  std::printf("%s after %lu ms\n", window ? "window" : "no window", GetTickCount() - start);
  return window ? 0 : 1;
}

int Geometry() {
  const std::vector<HWND> windows = RootWindows();
  std::printf("windows %u\n", unsigned(windows.size()));
  HWND window = RootWindow();
  if (!window) return NoWindow();
  RECT r, client, area;
  GetWindowRect(window, &r);
  GetClientRect(window, &client);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  wchar_t title[64] = {}, className[64] = {};
  GetWindowTextW(window, title, 64);
  GetClassNameW(window, className, 64);
  std::printf("rect %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
  std::printf("size %ld %ld\n", r.right - r.left, r.bottom - r.top);
  std::printf("client %ld %ld at %ld %ld\n", client.right, client.bottom, origin.x, origin.y);
  std::printf("workarea %ld %ld %ld %ld\n", area.left, area.top, area.right, area.bottom);
  std::printf("style %08lX exstyle %08lX\n", GetWindowLongW(window, GWL_STYLE),
              GetWindowLongW(window, GWL_EXSTYLE));
  std::printf("enabled %d visible %d title %s\n", IsWindowEnabled(window) ? 1 : 0,
              IsWindowVisible(window) ? 1 : 0, Utf8(title).c_str());
  std::printf("class style %08lX window extra %lu background %lu cursor %s\n",
              GetClassLongW(window, GCL_STYLE), GetClassLongW(window, GCL_CBWNDEXTRA),
              GetClassLongW(window, GCL_HBRBACKGROUND),
              GetClassLongW(window, GCL_HCURSOR) ? "set" : "none");
  // A window of a class registered in the wide form gets its messages'
  // text in UTF-16 on every code page.
  std::printf("class %s unicode %d codepage %u\n", Utf8(className).c_str(),
              IsWindowUnicode(window) ? 1 : 0, GetACP());
  return 0;
}

int At(long x, long y, DWORD milliseconds) {
  HWND window = RootWindow();
  if (!window) return NoWindow();
  const DWORD start = GetTickCount();
  RECT r = {};
  for (;;) {
    GetWindowRect(window, &r);
    if ((r.left == x && r.top == y) || GetTickCount() - start >= milliseconds) break;
    Sleep(50);
  }
  std::printf("corner %ld %ld after %lu ms\n", r.left, r.top, GetTickCount() - start);
  return 0;
}

int Flags() {
  HWND window = RootWindow();
  if (!window) return NoWindow();
  std::printf("flags %ld\n", GetWindowLongW(window, 4));
  return 0;
}

// As a window manager or another program may move it: the window is told
// by its move notification.
int Move(long x, long y) {
  HWND window = RootWindow();
  if (!window) return NoWindow();
  const bool moved =
      SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  std::printf("%s to %ld %ld\n", moved ? "moved" : "not moved", x, y);
  return 0;
}

// The program file's resource, as a pointer into the loaded image.
const BYTE* Resource(HMODULE module, LPCWSTR type, LPCWSTR name, DWORD* size) {
  HRSRC found = FindResourceExW(module, type, name, ChinesePrc);
  if (!found) return nullptr;
  if (size) *size = SizeofResource(module, found);
  return static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
}

// A packed DIB (the bitmap resource's layout) as RGB pixels, top row first.
struct Picture {
  int width = 0, height = 0, bits = 0;
  DWORD compression = 0, colours = 0;
  std::vector<DWORD> rgb;
};

Picture ReadDib(const BYTE* dib) {
  Picture p;
  BITMAPINFOHEADER header;
  std::memcpy(&header, dib, sizeof header);
  p.width = header.biWidth;
  p.height = header.biHeight;
  p.bits = header.biBitCount;
  p.compression = header.biCompression;
  p.colours = header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount);
  const RGBQUAD* palette = reinterpret_cast<const RGBQUAD*>(dib + header.biSize);
  const BYTE* pixels = dib + header.biSize + p.colours * sizeof(RGBQUAD);
  const int rowBytes = (p.width * p.bits + 31) / 32 * 4;
  p.rgb.resize(size_t(p.width) * p.height);
  for (int y = 0; y < p.height; ++y) {
    const BYTE* row = pixels + size_t(p.height - 1 - y) * rowBytes;
    for (int x = 0; x < p.width; ++x) {
      const int index = p.bits == 4 ? (x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4) : row[x];
      const RGBQUAD& c = palette[index];
      p.rgb[size_t(y) * p.width + x] = (c.rgbRed << 16) | (c.rgbGreen << 8) | c.rgbBlue;
    }
  }
  return p;
}

// Counts client pixels that differ from the chart where the chart reaches,
// and from the window colour beyond it.
struct ChartDifference {
  int chart = 0, beyond = 0, beyondPixels = 0;
  double levels = 0;  // each chart pixel's channels apart, summed
};

RECT Client(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return client;
}

// tell: the first differing pixels are printed.
ChartDifference CompareChart(HWND window, const Picture& chart, bool tell) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  const int width = client.right, height = client.bottom;
  const std::vector<DWORD> shown = ScreenPixels(origin.x, origin.y, width, height);
  const DWORD background = AsPixel(GetSysColor(COLOR_WINDOW));
  ChartDifference d;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const DWORD pixel = shown[size_t(y) * width + x];
      if (x < chart.width && y < chart.height) {
        const DWORD expected = chart.rgb[size_t(y) * chart.width + x];
        for (int shift = 0; shift < 24; shift += 8)
          d.levels += std::abs(int((pixel >> shift) & 0xFF) - int((expected >> shift) & 0xFF));
        const bool differs = pixel != expected;
        if (tell && differs && d.chart < 3)
          std::printf("  at %d,%d: shown %06lX, chart %06lX\n", x, y, pixel, expected);
        d.chart += differs;
      } else {
        ++d.beyondPixels;
        d.beyond += pixel != background;
      }
    }
  return d;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// The chart made at twice the size, loaded from the program file as a
// program loads its bitmaps, drawn at width x height with HALFTONE, as a
// window shows it on a display of another scale.
Picture Shrunk(HMODULE module, int bitmapId, int width, int height) {
  HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(bitmapId));
  BITMAP size = {};
  GetObjectW(bitmap, sizeof size, &size);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  navo::testing::PixelCanvas canvas(width, height);
  SetStretchBltMode(canvas.dc(), HALFTONE);
  SetBrushOrgEx(canvas.dc(), 0, 0, nullptr);
  StretchBlt(canvas.dc(), 0, 0, width, height, memory, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  Picture p;
  p.width = width;
  p.height = height;
  p.rgb = canvas.Pixels();
  return p;
}

// At 96 DPI the chart's own bitmap (114, 134); on a display of another
// scale the one made at twice the size (214, 234) drawn at the 96-DPI
// chart's size times the scale, rounded as MulDiv rounds.
int Chart(int number, const wchar_t* program, DWORD milliseconds) {
  HWND window = WaitForWindow(5000);
  if (!window) return NoWindow();
  HMODULE module = LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const int dpi = ScreenDpi();
  const int bitmap = (number == 1 ? 114 : 134) + (dpi > 96 ? 100 : 0);
  const BYTE* dib =
      module ? Resource(module, RT_BITMAP, MAKEINTRESOURCEW(bitmap), nullptr) : nullptr;
  if (!dib) return std::puts("no such bitmap in the program file"), 1;
  const int width = number == 1 ? 588 : 353, height = number == 1 ? 244 : 140;
  const Picture chart = dpi > 96
                            ? Shrunk(module, bitmap, MulDiv(width, dpi, 96), MulDiv(height, dpi, 96))
                            : ReadDib(dib);
  // Painted at once; give the screen a moment to show it.
  const DWORD start = GetTickCount();
  ChartDifference d;
  for (;;) {
    const bool last = GetTickCount() - start >= milliseconds;
    d = CompareChart(window, chart, last && dpi == 96);
    if ((d.chart == 0 && d.beyond == 0) || last) break;
    Sleep(50);
  }
  // Drawn smoothed, the screen and an offscreen bitmap filter the edges
  // differently: at another scale the chart is compared on the whole.
  if (dpi != 96) {
    const int covered = std::min(chart.width, int(Client(window).right)) *
                        std::min(chart.height, int(Client(window).bottom));
    std::printf("chart %d at %d DPI: %.1f levels apart on average from bitmap %d drawn %d x %d, "
                "%d of %d beyond it not the window colour\n",
                number, dpi, covered ? d.levels / (3.0 * covered) : 999.0, bitmap, chart.width,
                chart.height, d.beyond, d.beyondPixels);
  }
  std::printf(
      "chart %d: %d pixels differ from bitmap %d, %d of %d beyond it not the window "
      "colour, seen after %lu ms\n",
      number, d.chart, bitmap, d.beyond, d.beyondPixels, GetTickCount() - start);
  std::printf("chart %d drawn %d x %d in a client area of %ld x %ld\n", number, chart.width,
              chart.height, Client(window).right, Client(window).bottom);
  FreeLibrary(module);
  return 0;
}

int Send(WPARAM wParam) {
  HWND window = RootWindow();
  if (!window) return NoWindow();
  DWORD_PTR result = 1;
  const LRESULT sent =
      SendMessageTimeoutW(window, ControlMessage, wParam, 0, SMTO_NORMAL, 30000, &result);
  std::printf("sent %lu: %s, result %lu\n", static_cast<unsigned long>(wParam),
              sent ? "answered" : "not answered", static_cast<unsigned long>(result));
  return 0;
}

int Close() {
  HWND window = RootWindow();
  if (!window) return NoWindow();
  PostMessageW(window, WM_CLOSE, 0, 0);
  std::puts("closed");
  return 0;
}

int Gone(DWORD milliseconds) {
  for (DWORD waited = 0;; waited += 100) {
    if (RootWindows().empty()) break;
    if (waited >= milliseconds) break;
    Sleep(100);
  }
  std::printf("windows of the class left %u\n", unsigned(RootWindows().size()));
  return 0;
}

// The resources as the program file holds them, all in Chinese (PRC).
BOOL CALLBACK CountResource(HMODULE, LPCWSTR, LPWSTR, LONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int Resources(const wchar_t* program) {
  HMODULE module = LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::puts("the program file does not open"), 1;

  wchar_t text[64] = {};
  LoadStringW(module, 1, text, 64);
  std::printf("string 1 %s\n", Utf8(text).c_str());
  LoadStringW(module, 2, text, 64);
  std::printf("string 2 %s\n", Utf8(text).c_str());
  std::printf("string table %s\n", Resource(module, RT_STRING, MAKEINTRESOURCEW(1), nullptr)
                                       ? "Chinese (PRC)"
                                       : "not in Chinese (PRC)");
  int manifests = 0;
  EnumResourceNamesW(module, RT_MANIFEST, CountResource, reinterpret_cast<LONG_PTR>(&manifests));
  std::printf("manifests %d\n", manifests);
  // What keeps Windows from redirecting the program's writes under HKLM.
  HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
  if (manifest) {
    const char* xml = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
    const std::string text(xml, SizeofResource(module, manifest));
    std::printf("manifest execution level %s\n",
                text.find("requestedExecutionLevel") == std::string::npos ? "none asked"
                                                                          : "asked");
  }

  for (int id : {114, 134, 214, 234}) {
    const BYTE* dib = Resource(module, RT_BITMAP, MAKEINTRESOURCEW(id), nullptr);
    if (!dib) {
      std::printf("bitmap %d not in Chinese (PRC)\n", id);
      continue;
    }
    const Picture p = ReadDib(dib);
    std::printf("bitmap %d %d x %d, %d bits, %lu colours, compression %lu\n", id, p.width, p.height,
                p.bits, p.colours, p.compression);
    int distinct = 0;
    std::vector<bool> seen(1 << 24, false);
    for (DWORD c : p.rgb) {
      if (!seen[c]) ++distinct;
      seen[c] = true;
    }
    std::printf("bitmap %d uses %d colours\n", id, distinct);
  }

  DWORD size = 0;
  const BYTE* group = Resource(module, RT_GROUP_CURSOR, MAKEINTRESOURCEW(136), &size);
  if (group) {
    const std::vector<navo::testing::GroupImage> images = navo::testing::ReadGroup(group, true);
    // Each cursor image starts with its hot spot, then its bitmap header.
    for (const navo::testing::GroupImage& image : images) {
      const BYTE* cursor = Resource(module, RT_CURSOR, MAKEINTRESOURCEW(image.id), nullptr);
      WORD hotX = 0, hotY = 0;
      BITMAPINFOHEADER header = {};
      if (cursor) {
        std::memcpy(&hotX, cursor, 2);
        std::memcpy(&hotY, cursor + 2, 2);
        std::memcpy(&header, cursor + 4, sizeof header);
      }
      std::printf("cursor 136 image %d x %d, %u bits, hot spot %u, %u\n", image.width, image.height,
                  header.biBitCount, hotX, hotY);
    }
    std::printf("cursor 136 images %u\n", unsigned(images.size()));
  } else {
    std::puts("cursor 136 not in Chinese (PRC)");
  }

  group = Resource(module, RT_GROUP_ICON, L"LOADBMP", &size);
  if (group) {
    const std::vector<navo::testing::GroupImage> images = navo::testing::ReadGroup(group, false);
    for (const navo::testing::GroupImage& image : images)
      std::printf("icon LOADBMP image %d x %d, %d colours, %d bits\n", image.width, image.height,
                  image.colours, image.bits);
    std::printf("icon LOADBMP images %u\n", unsigned(images.size()));
  } else {
    std::puts("icon LOADBMP not in Chinese (PRC)");
  }
  FreeLibrary(module);
  return 0;
}

int Launch(const wchar_t* commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const bool started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &process);
  std::printf("%s %s\n", started ? "started" : "not started", Utf8(commandLine).c_str());
  if (!started) return 1;
  CloseHandle(process.hThread);
  launched = process.hProcess;
  return 0;
}

int ExitCode(DWORD milliseconds) {
  if (!launched) return std::puts("no program launched"), 1;
  const bool ended = WaitForSingleObject(launched, milliseconds) == WAIT_OBJECT_0;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(launched, &code);
  if (ended)
    std::printf("exit code %lu\n", code);
  else
    std::puts("still running");
  return 0;
}

}  // namespace

// Wide arguments, so that program paths in any script arrive whole.
int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return std::puts("usage: root_driver COMMAND [ARGS] ..."), 2;
  for (int i = 1; i < argc; ++i) {
    const std::wstring command = argv[i];
    auto next = [&](const wchar_t* fallback) { return i + 1 < argc ? argv[++i] : fallback; };
    auto number = [&](const wchar_t* fallback) { return std::wcstol(next(fallback), nullptr, 0); };
    int status = 0;
    if (command == L"wait") {
      status = Wait(number(L"60000"));
    } else if (command == L"geometry") {
      status = Geometry();
    } else if (command == L"at") {
      const long x = number(L"0");
      const long y = number(L"0");
      status = At(x, y, number(L"10000"));
    } else if (command == L"flags") {
      status = Flags();
    } else if (command == L"move") {
      const long x = number(L"0");
      status = Move(x, number(L"0"));
    } else if (command == L"chart") {
      const int chart = number(L"1");
      const wchar_t* program = next(L"");
      status = Chart(chart, program, number(L"3000"));
    } else if (command == L"send") {
      status = Send(number(L"0"));
    } else if (command == L"close") {
      status = Close();
    } else if (command == L"gone") {
      status = Gone(number(L"10000"));
    } else if (command == L"resources") {
      status = Resources(next(L""));
    } else if (command == L"launch") {
      status = Launch(next(L""));
    } else if (command == L"exitcode") {
      status = ExitCode(number(L"60000"));
    } else {
      std::printf("unknown command %s\n", Utf8(command).c_str());
      return 2;
    }
    std::fflush(stdout);
    if (status != 0) return 1;
  }
  return 0;
}
