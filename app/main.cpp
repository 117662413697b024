// The entry point: set up the application, create the main window, run until it closes.
#include <windows.h>

#include <cstdlib>

#include "forms/Main.h"
#include "platform/win32/Win32Application.h"

namespace __gnu_cxx {
// What ends the program when an error escapes everything. The library's own handler prints the
// error's demangled type to a console this program does not have, and the demangler would be a
// tenth of the program's size.
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  platform::win32::Win32Application application(instance);
  try {
    application.Initialize();
    application.SetHelpFile("stampctl.hlp");
    application.SetTitle("Pelaroグループポリシー");
    application.CreateForm<TMainForm>();
    application.Run();
  } catch (const std::exception& error) {
    application.ShowException(error);
  }
  return 0;
}
