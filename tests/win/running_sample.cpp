#include "running_sample.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
constexpr DWORD kBoundMs = 10000;
constexpr DWORD kPollMs = 20;
}  // namespace

const SignatureRecord& ShippedRow(const char* name)
{
    const SignatureRecord* record = SignatureTable;
    while (record->name[0] != '\0' && std::strcmp(record->name, name) != 0) ++record;
    if (record->name[0] == '\0') ADD_FAILURE() << "no shipped row " << name;
    return *record;
}

SignatureRecord CleanRecordLike(const SignatureRecord& shipped)
{
    SignatureRecord clean = shipped;
    for (int i = 0; i < kPatternLength; ++i) {
        clean.firstPattern[i] ^= 0x5A;
        clean.secondPattern[i] ^= 0x5A;
    }
    return clean;
}

RunningSample::RunningSample(const std::string& path, const SignatureRecord& record)
{
    SampleOptions options;
    options.runnable = true;
    options.machine = kBuildMachine;
    std::string error;
    std::vector<uint8_t> image;
    if (!BuildSample(record, options, image, &info_, &error) || !WriteImage(path.c_str(), image, &error)) {
        ADD_FAILURE() << path << ": " << error;
        return;
    }
    Start(path);
}

RunningSample::RunningSample(const std::string& path, const RunningSample& sameImage) : info_(sameImage.info_)
{
    Start(path);
}

void RunningSample::Start(const std::string& path)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    std::string commandLine = path;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup, &started)) {
        ADD_FAILURE() << "cannot start " << path << ": " << GetLastError();
        return;
    }
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    id_ = started.dwProcessId;
}

RunningSample::~RunningSample()
{
    if (!process_) return;
    EndWith(1);
    CloseHandle(process_);
}

bool RunningSample::Running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool RunningSample::Ended() const
{
    return process_ && WaitForSingleObject(process_, kBoundMs) == WAIT_OBJECT_0;
}

bool RunningSample::LoopsBeyond(DWORD rounds) const
{
    for (DWORD waited = 0; waited < kBoundMs && Running(); waited += kPollMs) {
        if (Rounds() > rounds) return true;
        Sleep(kPollMs);
    }
    return false;
}

DWORD RunningSample::Rounds() const
{
    DWORD rounds = 0;
    SIZE_T read = 0;
    const uintptr_t address = info_.imageBase + info_.counterRva;
    ReadProcessMemory(process_, reinterpret_cast<LPCVOID>(address), &rounds, sizeof rounds, &read);
    return read == sizeof rounds ? rounds : 0;
}

DWORD RunningSample::EndWith(UINT code)
{
    if (!process_) return STILL_ACTIVE;  // the failed start is reported already
    // A process ends once: a termination asked for earlier keeps its code.
    if (Running()) TerminateProcess(process_, code);
    DWORD exitCode = STILL_ACTIVE;
    if (!Ended() || !GetExitCodeProcess(process_, &exitCode)) ADD_FAILURE() << "the sample does not end";
    return exitCode;
}
