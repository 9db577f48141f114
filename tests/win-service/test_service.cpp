// A Win32 service for the service-stop tests. It runs until asked to stop; then it stays stop-pending for the
// milliseconds given as its first argument ("forever": it never leaves that state) before it reports stopped.
// Without an argument, or with 0, it reports stopped from within the stop request. Its process outlives the
// stop until the test ends it: under Wine a service process that exits while the stop request is answered
// makes that request fail with a broken pipe.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

SERVICE_STATUS_HANDLE statusHandle;
HANDLE stopRequested;
DWORD pendingMs;

void Report(DWORD state)
{
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    status.dwWaitHint = state == SERVICE_STOP_PENDING ? 2000 : 0;
    SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*)
{
    if (control != SERVICE_CONTROL_STOP) return ERROR_CALL_NOT_IMPLEMENTED;
    Report(pendingMs == 0 ? SERVICE_STOPPED : SERVICE_STOP_PENDING);
    SetEvent(stopRequested);
    return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, char**)
{
    statusHandle = RegisterServiceCtrlHandlerExA("", Control, nullptr);
    if (!statusHandle) return;
    Report(SERVICE_RUNNING);
    WaitForSingleObject(stopRequested, INFINITE);
    if (pendingMs != 0) {
        Sleep(pendingMs);
        Report(SERVICE_STOPPED);
    }
    Sleep(INFINITE);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1) pendingMs = std::strcmp(argv[1], "forever") == 0 ? INFINITE : std::strtoul(argv[1], nullptr, 10);
    stopRequested = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    char ownProcess[] = "";
    SERVICE_TABLE_ENTRYA services[] = {{ownProcess, ServiceMain}, {nullptr, nullptr}};
    if (!StartServiceCtrlDispatcherA(services)) return 1;
    Sleep(INFINITE);
}
