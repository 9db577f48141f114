#include "app/scanner_app_win.h"

#include <windows.h>

#include "app/main_scan_dialog.h"
#include "base/product.h"

bool ScannerApp::InitInstance()
{
    // Any top-level window with the product's title counts, whatever its class or program.
    if (FindWindowA(nullptr, ProductCaption)) return false;
    MainScanDialog dialog;
    dialog.DoModal(nullptr);
    return false;
}
