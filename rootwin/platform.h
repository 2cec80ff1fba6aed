// What the root chart window needs of the platform, in small pieces: the
// registry for the saved position, the window itself, its painting, the
// drag's mouse and screen, and the start-up calls. The Win32 shell
// implements them; the tests record them.
//
// Texts cross this boundary as wide strings (wchar_t, UTF-16 on Windows),
// the form the window system takes them in. Every text of this program is a
// name in ASCII (class, title, registry key and value) or comes from the
// system (the command line), so none is GBK and none needs converting.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/program_startup.h"
#include "rootwin/geometry.h"

namespace navo::rootwin {

// Access rights to a registry key, numbered as Windows numbers them, so
// that what the core asks for is what the system is asked for.
using KeyAccess = uint32_t;
constexpr KeyAccess KeyRead = 0x20019;         // KEY_READ
constexpr KeyAccess KeyCreateSubKey = 0x0004;  // KEY_CREATE_SUB_KEY
constexpr KeyAccess KeyAllAccess = 0xF003F;    // KEY_ALL_ACCESS

// Keys under HKEY_LOCAL_MACHINE. A Key is an open key's handle.
class Registry {
 public:
  using Key = uintptr_t;
  // Opens path under HKEY_LOCAL_MACHINE with the access given.
  virtual bool OpenMachineKey(const wchar_t* path, KeyAccess access, Key* key) = 0;
  // Reads a value's data into data (at most *size bytes, without asking for
  // its type); *size becomes the number of bytes delivered. False when the
  // value is missing, longer than *size, or cannot be read.
  virtual bool QueryValue(Key key, const wchar_t* name, void* data, uint32_t* size) = 0;
  // Creates or opens a subkey with the access given: no class,
  // non-volatile, default security. Creating one needs KeyCreateSubKey on
  // the parent.
  virtual bool CreateSubKey(Key parent, const wchar_t* name, KeyAccess access, Key* key) = 0;
  // Sets a REG_DWORD value (4 bytes, little-endian). Its result changes
  // nothing and is not reported.
  virtual void SetDwordValue(Key key, const wchar_t* name, uint32_t value) = 0;
  virtual void CloseKey(Key key) = 0;

 protected:
  ~Registry() = default;
};

enum class ShowCommand {
  Normal,      // SW_SHOWNORMAL
  NoActivate,  // SW_SHOWNOACTIVATE
};

// The chart window as its handlers see it.
class ChartWindow {
 public:
  // The whole client area, without erasing the background.
  virtual void InvalidateClient() = 0;
  virtual void Show(ShowCommand command) = 0;
  // Paints now what is invalid, before returning.
  virtual void Update() = 0;
  virtual void PostQuit(int exitCode) = 0;
  // The outer rectangle in screen pixels.
  virtual Rect OuterRect() = 0;
  // The DPI of the window's monitor (the system's where Windows keeps none
  // per window).
  virtual int Dpi() = 0;
  virtual Size ClientSize() = 0;
  // Moves and sizes the window to an outer rectangle, without activating it.
  virtual void Place(const Rect& outer) = 0;

 protected:
  ~ChartWindow() = default;
};

// One paint of the client area.
class ChartCanvas {
 public:
  virtual void BeginPaint() = 0;
  // Loads bitmap resource bitmapId anew, copies the block of the given size
  // from its point (0, 0) to the client's point (0, 0) (SRCCOPY) and releases
  // the bitmap and the memory context used for the copy.
  virtual void CopyBitmap(int bitmapId, Size block) = 0;
  // Loads bitmap resource bitmapId anew and draws the whole of it, source
  // pixels large, into the client's rectangle from (0, 0) of destination
  // size, smoothed (HALFTONE); releases what it used.
  virtual void StretchBitmap(int bitmapId, Size source, Size destination) = 0;
  // Fills a client rectangle with the class brush (COLOR_WINDOW + 1).
  virtual void FillWithWindowColour(const Rect& area) = 0;
  virtual void EndPaint() = 0;

 protected:
  ~ChartCanvas() = default;
};

// The window's side of a drag: mouse, capture, timer, cursor and the
// DragFlags in the window's extra storage.
class DragWindow {
 public:
  virtual Rect WorkArea() = 0;  // SPI_GETWORKAREA
  virtual void TakeCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual Point CursorPosition() = 0;
  virtual Rect OuterRect() = 0;
  virtual uint32_t DragFlags() = 0;  // GetWindowLongW at index 4
  virtual void SetDragFlags(uint32_t flags) = 0;
  virtual void StartTimer(unsigned id, unsigned milliseconds) = 0;
  virtual void StopTimer(unsigned id) = 0;
  virtual void SetDragCursor() = 0;  // cursor resource IDC_DRAG
  // Moves the window's outer top-left corner to corner, at size, repainting.
  virtual void Move(Point corner, Size size) = 0;

 protected:
  ~DragWindow() = default;
};

// A device context over the whole screen, in screen pixels, not clipped to
// any window, opened anew for every frame draw.
class ScreenDevice {
 public:
  virtual void Open() = 0;  // CreateDCW(L"DISPLAY")
  virtual void SelectGrayBrush() = 0;
  virtual int BorderWidth() = 0;   // SM_CXBORDER
  virtual int BorderHeight() = 0;  // SM_CYBORDER
  // PatBlt with PATINVERT; a negative extent reaches back from x or y.
  virtual void InvertPattern(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
  virtual void Close() = 0;  // DeleteDC

 protected:
  ~ScreenDevice() = default;
};

// The start-up's steps: the main window's class and window as every
// program's, the place of the window before it is created, and the window
// shown.
class StartupPlatform : public MainWindowStartup {
 public:
  virtual Rect WorkArea() = 0;  // SPI_GETWORKAREA
  // The rectangle that holds every monitor (SM_XVIRTUALSCREEN and the rest);
  // a monitor left of or above the primary one gives it negative edges.
  virtual Rect VirtualScreen() = 0;
  // The display's DPI before the window is there: the system's. A window
  // that comes up on a monitor of another scale is told so, and laid out
  // again (HandleDpiChange).
  virtual int SystemDpi() = 0;
  // Where CreateMainWindow puts the chart window (its outer corner and
  // size). Its creation message paints and shows it.
  virtual void PlaceMainWindow(Point corner, Size size) = 0;
  virtual void ShowWindow(ShowCommand command) = 0;
  virtual void UpdateWindow() = 0;

 protected:
  ~StartupPlatform() = default;
};

}  // namespace navo::rootwin
