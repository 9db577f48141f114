// A runnable sample started from its image on drive C:, standing in for a live infected process; ended and
// released whatever the test's outcome.
#pragma once

#include <windows.h>

#include <string>

#include "engine/detection/signature_record.h"
#include "tools/samplegen/sample_pe.h"

// The shipped row of that name; a failure of the calling test when there is none.
const SignatureRecord& ShippedRow(const char* name);
// Same length and layout as a shipped row, other byte strings: a program that no record matches.
SignatureRecord CleanRecordLike(const SignatureRecord& shipped);

class RunningSample {
public:
    // Writes the runnable sample of `record` to `path` and starts it; a failure of the calling test when
    // either step fails.
    RunningSample(const std::string& path, const SignatureRecord& record);
    // Starts one more process of the image `sameImage` wrote to `path`.
    RunningSample(const std::string& path, const RunningSample& sameImage);
    ~RunningSample();
    RunningSample(const RunningSample&) = delete;
    RunningSample& operator=(const RunningSample&) = delete;

    DWORD Id() const { return id_; }
    bool Running() const;
    // Waits, within a bound, for the process to end.
    bool Ended() const;
    // Waits, within a bound, until the entry loop has counted more rounds than `rounds`: started is not yet
    // running, the loader may still hold it.
    bool LoopsBeyond(DWORD rounds) const;
    DWORD Rounds() const;
    // Ends the process with `code` unless something ended it before; its exit code either way.
    DWORD EndWith(UINT code);

private:
    void Start(const std::string& path);

    SampleInfo info_ = {};
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};
