// The root chart window's Win32 platform: thin layers over the wide calls.
#include "rootwin/shell/win32_root_window.h"

#include "common/win32_display_scale.h"
#include "common/win32_message_loop.h"
#include "rootwin/drag.h"
#include "rootwin/res/resource.h"

namespace navo::rootwin {

namespace {

HKEY AsHandle(Registry::Key key) { return reinterpret_cast<HKEY>(key); }
Registry::Key AsKey(HKEY key) { return reinterpret_cast<Registry::Key>(key); }

int ShowCode(ShowCommand command) {
  return command == ShowCommand::Normal ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE;
}

Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

Rect ReadWorkArea() {
  RECT area = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return FromRect(area);
}

}  // namespace

static_assert(KeyRead == KEY_READ && KeyCreateSubKey == KEY_CREATE_SUB_KEY &&
                  KeyAllAccess == KEY_ALL_ACCESS,
              "the core's key access numbers are the system's");

bool Win32Registry::OpenMachineKey(const wchar_t* path, KeyAccess access, Key* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, access, &opened) != ERROR_SUCCESS) return false;
  *key = AsKey(opened);
  return true;
}

bool Win32Registry::QueryValue(Key key, const wchar_t* name, void* data, uint32_t* size) {
  DWORD length = *size;
  const LONG result =
      RegQueryValueExW(AsHandle(key), name, nullptr, nullptr, static_cast<BYTE*>(data), &length);
  if (result != ERROR_SUCCESS) return false;
  *size = length;
  return true;
}

bool Win32Registry::CreateSubKey(Key parent, const wchar_t* name, KeyAccess access, Key* key) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExW(AsHandle(parent), name, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                      &created, &disposition) != ERROR_SUCCESS)
    return false;
  *key = AsKey(created);
  return true;
}

void Win32Registry::SetDwordValue(Key key, const wchar_t* name, uint32_t value) {
  const DWORD data = value;
  RegSetValueExW(AsHandle(key), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                 sizeof data);
}

void Win32Registry::CloseKey(Key key) { RegCloseKey(AsHandle(key)); }

void Win32ChartWindow::InvalidateClient() { InvalidateRect(window_, nullptr, FALSE); }
void Win32ChartWindow::Show(ShowCommand command) { ::ShowWindow(window_, ShowCode(command)); }
void Win32ChartWindow::Update() { ::UpdateWindow(window_); }
void Win32ChartWindow::PostQuit(int exitCode) { PostQuitMessage(exitCode); }

Rect Win32ChartWindow::OuterRect() {
  RECT r = {};
  GetWindowRect(window_, &r);
  return FromRect(r);
}

int Win32ChartWindow::Dpi() { return WindowDpi(window_); }

Size Win32ChartWindow::ClientSize() {
  RECT r = {};
  GetClientRect(window_, &r);
  return {r.right, r.bottom};
}

void Win32ChartWindow::Place(const Rect& outer) {
  SetWindowPos(window_, nullptr, outer.left, outer.top, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32ChartWindow::WorkArea() { return ReadWorkArea(); }
void Win32ChartWindow::TakeCapture() { SetCapture(window_); }
void Win32ChartWindow::ReleaseCapture() { ::ReleaseCapture(); }

Point Win32ChartWindow::CursorPosition() {
  POINT p = {};
  GetCursorPos(&p);
  return {p.x, p.y};
}

uint32_t Win32ChartWindow::DragFlags() {
  return static_cast<uint32_t>(GetWindowLongW(window_, DragFlagsIndex));
}

void Win32ChartWindow::SetDragFlags(uint32_t flags) {
  SetWindowLongW(window_, DragFlagsIndex, static_cast<LONG>(flags));
}

void Win32ChartWindow::StartTimer(unsigned id, unsigned milliseconds) {
  SetTimer(window_, id, milliseconds, nullptr);
}

void Win32ChartWindow::StopTimer(unsigned id) { KillTimer(window_, id); }

void Win32ChartWindow::SetDragCursor() {
  SetCursor(LoadCursorW(instance_, MAKEINTRESOURCEW(IDC_DRAG)));
}

void Win32ChartWindow::Move(Point corner, Size size) {
  MoveWindow(window_, corner.x, corner.y, size.w, size.h, TRUE);
}

void Win32ChartCanvas::BeginPaint() { dc_ = ::BeginPaint(window_, &paint_); }

void Win32ChartCanvas::CopyBitmap(int bitmapId, Size block) {
  HBITMAP bitmap = LoadBitmapW(instance_, MAKEINTRESOURCEW(bitmapId));
  HDC memory = CreateCompatibleDC(dc_);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(dc_, 0, 0, block.w, block.h, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

// HALFTONE averages the source pixels that fall on each window pixel, so
// that a chart made larger keeps its strokes when shrunk to the scale.
void Win32ChartCanvas::StretchBitmap(int bitmapId, Size source, Size destination) {
  HBITMAP bitmap = LoadBitmapW(instance_, MAKEINTRESOURCEW(bitmapId));
  HDC memory = CreateCompatibleDC(dc_);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const int oldMode = SetStretchBltMode(dc_, HALFTONE);
  SetBrushOrgEx(dc_, 0, 0, nullptr);  // as HALFTONE asks
  StretchBlt(dc_, 0, 0, destination.w, destination.h, memory, 0, 0, source.w, source.h, SRCCOPY);
  SetStretchBltMode(dc_, oldMode);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

void Win32ChartCanvas::FillWithWindowColour(const Rect& area) {
  const RECT r = {area.left, area.top, area.right, area.bottom};
  FillRect(dc_, &r, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

void Win32ChartCanvas::EndPaint() { ::EndPaint(window_, &paint_); }

void Win32ScreenDevice::Open() { dc_ = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr); }
void Win32ScreenDevice::SelectGrayBrush() { SelectObject(dc_, GetStockObject(GRAY_BRUSH)); }
int Win32ScreenDevice::BorderWidth() { return GetSystemMetrics(SM_CXBORDER); }
int Win32ScreenDevice::BorderHeight() { return GetSystemMetrics(SM_CYBORDER); }

void Win32ScreenDevice::InvertPattern(int32_t x, int32_t y, int32_t width, int32_t height) {
  PatBlt(dc_, x, y, width, height, PATINVERT);
}

void Win32ScreenDevice::Close() {
  DeleteDC(dc_);
  dc_ = nullptr;
}

Win32Startup::Win32Startup(HINSTANCE instance, WNDPROC windowProc)
    : instance_(instance), windowProc_(windowProc) {
  LoadStringW(instance, IDS_ROOT_CLASS, className_, NameBufferSize);
  LoadStringW(instance, IDS_ROOT_TITLE, title_, NameBufferSize);
}

bool Win32Startup::RegisterMainWindowClass() {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = windowProc_;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = WindowExtraBytes;
  windowClass.hInstance = instance_;
  windowClass.hIcon = nullptr;
  windowClass.hCursor = nullptr;  // set on every cursor request instead
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = className_;
  windowClass.hIconSm = LoadIconW(instance_, IDI_LOADBMP_NAME);
  return RegisterClassExW(&windowClass) != 0;
}

Rect Win32Startup::WorkArea() { return ReadWorkArea(); }

Rect Win32Startup::VirtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
          top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

int Win32Startup::SystemDpi() { return WindowDpi(nullptr); }

void Win32Startup::PlaceMainWindow(Point corner, Size size) {
  corner_ = corner;
  size_ = size;
}

bool Win32Startup::CreateMainWindow() {
  window_ =
      CreateWindowExW(WS_EX_PALETTEWINDOW, className_, title_, WS_POPUP | WS_DISABLED | WS_DLGFRAME,
                      corner_.x, corner_.y, size_.w, size_.h, nullptr, nullptr, instance_, nullptr);
  return window_ != nullptr;
}

void Win32Startup::ShowWindow(ShowCommand command) { ::ShowWindow(window_, ShowCode(command)); }
void Win32Startup::UpdateWindow() { ::UpdateWindow(window_); }

int Win32Startup::RunMessageLoop() { return navo::RunMessageLoop(); }

}  // namespace navo::rootwin
