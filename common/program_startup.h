// Every program's start-up in one shape: its main window's class
// registered, the program's choices for the window, the window created (its
// creation message handled within, where all of NavoSetup's run happens),
// the program's own step with the window there, then the message loop until
// the quit message, whose wParam is the exit code.
//
// Each shell implements MainWindowStartup, extended by what its program
// needs; each core states its own steps as a ProgramStartup and starts with
// StartProgram, so that its decisions stay where the unit tests reach them.
#pragma once

namespace navo {

// The platform's part, the same for every program.
class MainWindowStartup {
 public:
  // The class of the main window, named by the program's own resources.
  virtual bool RegisterMainWindowClass() = 0;
  // Its creation message is handled before this returns.
  virtual bool CreateMainWindow() = 0;
  // Until the quit message; its wParam.
  virtual int RunMessageLoop() = 0;

 protected:
  ~MainWindowStartup() = default;
};

// The program's part, around its main window.
class ProgramStartup {
 public:
  // The exit code of a program that could not start.
  virtual int ExitCodeWithoutWindow() = 0;
  // With the class registered, before the window is created.
  virtual void BeforeMainWindow() = 0;
  // With the window created: false ends the program (having said why) with
  // ExitCodeWithoutWindow.
  virtual bool WithMainWindow() = 0;

 protected:
  ~ProgramStartup() = default;
};

inline int StartProgram(MainWindowStartup& platform, ProgramStartup& program) {
  if (!platform.RegisterMainWindowClass()) return program.ExitCodeWithoutWindow();
  program.BeforeMainWindow();
  if (!platform.CreateMainWindow() || !program.WithMainWindow())
    return program.ExitCodeWithoutWindow();
  return platform.RunMessageLoop();
}

}  // namespace navo
