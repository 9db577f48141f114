#include <windows.h>

#include "app/scanner_app_win.h"

ScannerApp TheApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return TheApp.Run();
}
