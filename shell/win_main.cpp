#include "shell/main_window.h"

// The command line and the show flag are not looked at: the window always shows itself
// the same way. The exit status is always 0.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunMessageLoop(CreateMainWindow(instance));
}
