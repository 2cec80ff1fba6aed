/* Imports what no program of ours may, for the program check's own test:
   the 8-bit text calls ImmInstallIMEA and CreateDCA, and version.dll, which
   is not one of Windows' known DLLs. Built, never run. */
#include <windows.h>
// After windows.h, which it needs.
#include <imm.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  HKL layout = ImmInstallIMEA("x.ime", "x");
  HDC screen = CreateDCA("DISPLAY", NULL, NULL, NULL);
  DWORD versionSize = GetFileVersionInfoSizeW(L"x.dll", NULL);
  return layout != NULL && screen != NULL && versionSize != 0;
}
