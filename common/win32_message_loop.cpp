// The programs' one message loop, in its wide (UTF-16) form.
#include "common/win32_message_loop.h"

#include <windows.h>

namespace navo {

int RunMessageLoop() {
  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace navo
