// The lookup tool's start-up order: the main window (which computes the
// system directory and creates the dialog while it is created), the text
// buffer, the code table, then the message loop.
#pragma once

namespace navo {

extern const char* const OutOfMemoryText;

class LookupStartup {
 public:
  virtual bool CreateMainWindow() = 0;
  virtual bool AllocateTextBuffer() = 0;
  // A message box with the program's title as caption.
  virtual void ShowStartupFailure(const char* text) = 0;
  virtual void DestroyMainWindow() = 0;
  virtual void OpenTable() = 0;  // reports a failure itself and runs on
  virtual int RunMessageLoop() = 0;

 protected:
  ~LookupStartup() = default;
};

// The program's exit code: 0 when it cannot start, else the loop's.
int StartLookupProgram(LookupStartup& startup);

}  // namespace navo
