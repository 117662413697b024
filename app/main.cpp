// The entry point: set up the application, create the main window, run until it closes.
#include <windows.h>

#include "forms/Main.h"
#include "platform/win32/Win32Application.h"

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
