// A real service of the sandbox prefix for the tests: the test service that the test program carries,
// registered with sc.exe under a name of the test's choice and removed again whatever the test's outcome.
#pragma once

#include <windows.h>

#include <string>

// Open handles to the service manager and to one service, for reading the service's state.
class ServiceHandles {
public:
    explicit ServiceHandles(const char* name);
    ~ServiceHandles();
    ServiceHandles(const ServiceHandles&) = delete;
    ServiceHandles& operator=(const ServiceHandles&) = delete;
    SC_HANDLE Get() const { return service_; }
    // The current state, or 0 when it cannot be read.
    DWORD State() const;
    bool WaitForState(DWORD state) const;

private:
    SC_HANDLE manager_;
    SC_HANDLE service_;
};

class TestService {
public:
    // Writes the test service's image to C:\vextest\service-<name>\<name>.exe and registers it with
    // `argument` (see tests/win-service/test_service.cpp) as the service <name>.
    TestService(const char* name, const char* argument);
    ~TestService();
    TestService(const TestService&) = delete;
    TestService& operator=(const TestService&) = delete;
    bool Registered() const { return registered_; }
    const char* Name() const { return name_.c_str(); }
    const std::string& Image() const { return image_; }
    // Starts the service and takes hold of its process, which outlives the stop until the test ends it.
    bool Start();
    DWORD ProcessId() const { return processId_; }

private:
    void EndProcess();

    std::string name_;
    std::string folder_;
    std::string image_;
    bool registered_ = false;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};
