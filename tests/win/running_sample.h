// A runnable sample started from its image on drive C:, standing in for a live infected process; ended and
// released whatever the test's outcome.
#pragma once

#include <windows.h>

#include <string>

#include "engine/signature_record.h"
#include "tools/samplegen/sample_pe.h"

// The shipped row of that name; a failure of the calling test when there is none.
const SignatureRecord& ShippedRow(const char* name);

class RunningSample {
public:
    // Writes the runnable sample of `record` to `path` and starts it; a failure of the calling test when
    // either step fails.
    RunningSample(const std::string& path, const SignatureRecord& record);
    ~RunningSample();
    RunningSample(const RunningSample&) = delete;
    RunningSample& operator=(const RunningSample&) = delete;

    bool Running() const;
    // Waits, within a bound, for the process to end.
    bool Ended() const;
    // Waits, within a bound, until the entry loop has counted more rounds than `rounds`: started is not yet
    // running, the loader may still hold it.
    bool LoopsBeyond(DWORD rounds) const;
    DWORD Rounds() const;
    DWORD ProcessId() const { return processId_; }
    // Ends the process with `code` unless something ended it before; its exit code either way.
    DWORD EndWith(UINT code);

private:
    SampleInfo info_ = {};
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};
