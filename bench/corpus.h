// The benchmark's file tree: a deterministic mix of text files, random binaries, real PE files copied from a
// folder of Wine's DLLs and programs, and a handful of signature samples, in nested folders up to depth 6
// (some names with dots, one "Program Files").
#pragma once

#include <cstdint>
#include <string>

struct CorpusOptions {
    std::string root;      // created; must not exist yet
    std::string manifest;  // written: one line per sample, "hit<TAB>path<TAB>name" or "miss<TAB>path"
    std::string peSource;  // folder of PE files to copy from
    int files = 20000;     // total, samples included
    uint64_t seed = 1;
};

// False with a message on stderr when a file cannot be written or the PE folder holds no usable file.
bool GenerateCorpus(const CorpusOptions& options);
