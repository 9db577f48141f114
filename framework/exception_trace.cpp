#include "framework/exception_trace.h"

#include <cstdio>
#include <exception>

void TraceStoppedException(const char* boundary, UINT message)
{
    const char* what = "an exception of unknown type";
    try {
        throw;
    } catch (const std::exception& exception) {
        what = exception.what();
    } catch (...) {
    }
    char line[300];
    std::snprintf(line, sizeof line, "Vexilor: %s stopped %s (message 0x%04X)\n", boundary, what, message);
    OutputDebugStringA(line);
}
