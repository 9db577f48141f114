// The application object: the single-instance rule and the modal main window.
#pragma once

#include "framework/application.h"

class ScannerApp : public Application {
protected:
    // Returns false at once when a top-level window titled ProductCaption exists (that window is left
    // untouched); otherwise runs the main window modally. Always false: the program ends with its window.
    bool InitInstance() override;
};
