// GetDpiForWindow is looked up at run time: Windows 7 and 8 do not have it,
// and a program that imported it would not start there.
#include "common/win32_display_scale.h"

#include "common/display_scale.h"

namespace navo {
namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);

GetDpiForWindowCall FindGetDpiForWindow() {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  return user ? reinterpret_cast<GetDpiForWindowCall>(
                    reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))
              : nullptr;
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

// Looked up on each call: a function-local static would bring in the
// runtime's thread-safe initialisation, and the calls are few.
int WindowDpi(HWND window) {
  const GetDpiForWindowCall getDpiForWindow = FindGetDpiForWindow();
  const int dpi = getDpiForWindow && window ? static_cast<int>(getDpiForWindow(window)) : 0;
  return DpiOrDefault(dpi > 0 ? dpi : SystemDpi());
}

}  // namespace navo
