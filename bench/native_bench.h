// The native measurements of one invocation: the walks of tree_walk.h and the matcher alone, each timed after
// a warm-up, in rounds that rotate their order so that drift on a busy machine spreads over all of them.
#pragma once

#include <string>

struct NativeBenchOptions {
    std::string root;
    std::string manifest;  // the samples the core must find, and only those
    std::string csv;
    std::string hitsOut;  // the core's hits, one "path<TAB>name" per line, for the comparison with clamscan
    int runs = 5;
};

// 0 when every measurement ran and both tables found exactly the manifest's hits.
int RunNativeBench(const NativeBenchOptions& options);
