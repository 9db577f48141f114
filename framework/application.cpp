#include "framework/application.h"

int Application::Run()
{
    try {
        InitInstance();
    } catch (...) {
        // A failure at start-up ends the program silently, like a window that cannot be created.
    }
    return 0;
}
