#include "system/service_stop.h"

#include <windows.h>

namespace {

constexpr DWORD kManagerAllAccess = SC_MANAGER_ALL_ACCESS;  // 0xF003F
// The standard required rights with query and change configuration, query status, enumerate dependents,
// start and stop: the same number as the manager's all-access mask, not SERVICE_ALL_ACCESS.
constexpr DWORD kServiceAccess = 0xF003F;
constexpr DWORD kPollMs = 1000;

class ScopedServiceHandle {
public:
    explicit ScopedServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ScopedServiceHandle()
    {
        if (handle_) CloseServiceHandle(handle_);
    }
    ScopedServiceHandle(const ScopedServiceHandle&) = delete;
    ScopedServiceHandle& operator=(const ScopedServiceHandle&) = delete;
    SC_HANDLE Get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

// The state the service settles in after a stop request; the request's own answer counts until a query
// succeeds.
DWORD WaitWhileStopPending(SC_HANDLE service, const SERVICE_STATUS& afterRequest)
{
    SERVICE_STATUS last = afterRequest;
    for (unsigned polls = 0;; ++polls) {
        SERVICE_STATUS queried = {};
        if (!QueryServiceStatus(service, &queried)) break;
        last = queried;
        if (last.dwCurrentState != SERVICE_STOP_PENDING || polls == kStopPendingLimitSeconds) break;
        Sleep(kPollMs);
    }
    return last.dwCurrentState;
}

}  // namespace

int StopServiceByName(const char* name, uint8_t mode)
{
    ScopedServiceHandle manager(OpenSCManagerA(nullptr, nullptr, kManagerAllAccess));
    if (!manager.Get()) return 0;
    ScopedServiceHandle service(OpenServiceA(manager.Get(), name, kServiceAccess));
    if (!service.Get()) return 0;
    if (mode != SERVICE_MODE_STOP) return 1;

    SERVICE_STATUS status = {};
    if (!ControlService(service.Get(), SERVICE_CONTROL_STOP, &status)) return 0;
    return WaitWhileStopPending(service.Get(), status) == SERVICE_STOPPED ? 1 : 0;
}
