/* A DLL as someone might leave it beside a program, named for a system DLL
   that the program loads by name: loaded, it leaves the mark file C:\planted-dll-ran.txt
   holding the path of the program that ran it. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t program[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, program, MAX_PATH);
    HANDLE mark = CreateFileW(L"C:\\planted-dll-ran.txt", FILE_APPEND_DATA, FILE_SHARE_READ, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (mark != INVALID_HANDLE_VALUE) {
      DWORD written;
      WriteFile(mark, program, length * sizeof program[0], &written, NULL);
      WriteFile(mark, L"\r\n", 2 * sizeof(wchar_t), &written, NULL);
      CloseHandle(mark);
    }
  }
  return TRUE;
}
