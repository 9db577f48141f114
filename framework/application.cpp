#include "framework/application.h"

#include "framework/exception_trace.h"

int Application::Run()
{
    try {
        InitInstance();
    } catch (...) {
        // A failure at start-up ends the program silently, like a window that cannot be created.
        TraceStoppedException("the start-up", 0);
    }
    return 0;
}
