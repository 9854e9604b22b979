#include "shell/main_window.h"

// The command line and the show flag are not looked at. Windows still applies the show
// state the program was started with (a shortcut set to "Maximized" or "Minimized" puts it
// in STARTUPINFO) to its first ShowWindow and to each SW_SHOWDEFAULT after a box; started
// without one, as by the tests, SW_SHOWDEFAULT acts as SW_SHOWNORMAL. The exit status is
// always 0.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunMessageLoop(CreateMainWindow(instance));
}
