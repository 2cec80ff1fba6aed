// wWinMain of every program (the wide entry: the start-up code behind
// WinMain reads its start-up information with the 8-bit call). Before any
// window, dialog, shell or registry call, the DLL search is kept to the
// system directory, so that a DLL left in the program's folder (the
// installer's runs as administrator from wherever it was unpacked) or in the
// current directory is never loaded.
#include "common/win32_program_entry.h"

namespace navo {
namespace {

using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);

// Looked up rather than imported: Windows Vista and 7 have it only with
// their loader update (KB2533623), and a program importing it would not
// start there at all.
void KeepDllSearchInSystemDirectory() {
  FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  auto setDefaultDllDirectories =
      reinterpret_cast<SetDefaultDllDirectoriesCall>(reinterpret_cast<void (*)()>(found));
  if (setDefaultDllDirectories != nullptr && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
    return;
  // Without it, only the current directory can be taken out of the search;
  // the program's own folder stays first.
  SetDllDirectoryW(L"");
}

// Windows 10 version 1607 and later resolve the dependencies of the DLLs the
// program loads, even those resolved before wWinMain, in the system
// directory only: the dependent load flags of the load configuration
// (named Reserved1 in these headers). cmake/pe_load_configuration.py points
// the program's header at it, in a section of its own.
constexpr IMAGE_LOAD_CONFIG_DIRECTORY32 LoadConfiguration() {
  IMAGE_LOAD_CONFIG_DIRECTORY32 configuration = {};
  configuration.Size = sizeof configuration;
  configuration.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
  return configuration;
}

}  // namespace
}  // namespace navo

extern "C" __attribute__((section(".loadcfg"), used))
const IMAGE_LOAD_CONFIG_DIRECTORY32 _load_config_used = navo::LoadConfiguration();

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  navo::KeepDllSearchInSystemDirectory();
  return navo::RunProgram(instance);
}
