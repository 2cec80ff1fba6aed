// The root chart window's platform on Windows: the registry, the window and
// its paint, the drag's mouse and timer, the screen-wide device context and
// the start-up calls, each a thin layer over the Win32 calls, all in their
// wide (UTF-16) forms.
#pragma once

#include <windows.h>

#include "rootwin/platform.h"

namespace navo::rootwin {

class Win32Registry final : public Registry {
 public:
  bool OpenMachineKey(const wchar_t* path, KeyAccess access, Key* key) override;
  bool QueryValue(Key key, const wchar_t* name, void* data, uint32_t* size) override;
  bool CreateSubKey(Key parent, const wchar_t* name, KeyAccess access, Key* key) override;
  void SetDwordValue(Key key, const wchar_t* name, uint32_t value) override;
  void CloseKey(Key key) override;
};

// One window, for the handlers of one message.
class Win32ChartWindow final : public ChartWindow, public DragWindow {
 public:
  Win32ChartWindow(HWND window, HINSTANCE instance) : window_(window), instance_(instance) {}

  void InvalidateClient() override;
  void Show(ShowCommand command) override;
  void Update() override;
  void PostQuit(int exitCode) override;
  Rect OuterRect() override;
  int Dpi() override;
  Size ClientSize() override;
  void Place(const Rect& outer) override;

  Rect WorkArea() override;
  void TakeCapture() override;
  void ReleaseCapture() override;
  Point CursorPosition() override;
  uint32_t DragFlags() override;
  void SetDragFlags(uint32_t flags) override;
  void StartTimer(unsigned id, unsigned milliseconds) override;
  void StopTimer(unsigned id) override;
  void SetDragCursor() override;
  void Move(Point corner, Size size) override;

 private:
  HWND window_;
  HINSTANCE instance_;
};

class Win32ChartCanvas final : public ChartCanvas {
 public:
  Win32ChartCanvas(HWND window, HINSTANCE instance) : window_(window), instance_(instance) {}

  void BeginPaint() override;
  void CopyBitmap(int bitmapId, Size block) override;
  void StretchBitmap(int bitmapId, Size source, Size destination) override;
  void FillWithWindowColour(const Rect& area) override;
  void EndPaint() override;

 private:
  HWND window_;
  HINSTANCE instance_;
  PAINTSTRUCT paint_ = {};
  HDC dc_ = nullptr;
};

class Win32ScreenDevice final : public ScreenDevice {
 public:
  void Open() override;
  void SelectGrayBrush() override;
  int BorderWidth() override;
  int BorderHeight() override;
  void InvertPattern(int32_t x, int32_t y, int32_t width, int32_t height) override;
  void Close() override;

 private:
  HDC dc_ = nullptr;
};

class Win32Startup final : public StartupPlatform {
 public:
  Win32Startup(HINSTANCE instance, WNDPROC windowProc);

  bool RegisterMainWindowClass() override;
  bool CreateMainWindow() override;
  int RunMessageLoop() override;
  Rect WorkArea() override;
  Rect VirtualScreen() override;
  int SystemDpi() override;
  void PlaceMainWindow(Point corner, Size size) override;
  void ShowWindow(ShowCommand command) override;
  void UpdateWindow() override;

 private:
  static constexpr int NameBufferSize = 20;  // characters, terminator included

  HINSTANCE instance_;
  WNDPROC windowProc_;
  wchar_t className_[NameBufferSize] = {};  // "NVROOTWINCLASS"
  wchar_t title_[NameBufferSize] = {};      // "NVROOTWIN"
  Point corner_ = {};
  Size size_ = {};
  HWND window_ = nullptr;
};

}  // namespace navo::rootwin
