// The native walks the benchmark times, all over the same tree with the same directory reader, so that
// they differ only in what they do per file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SignatureIndex;

enum class WalkKind {
    NAMES,     // directory listing only: names and types, what readdir gives
    LISTING,   // plus each file's length (one fstatat), what FindFirstFileA/FindNextFileA give on Windows
    OPEN_ALL,  // plus, for every file: open, read e_lfanew at 0x3C and the 4 bytes it points to, close
    CORE,      // the program's rule: length from the listing first, the PE headers and the table only when
               // some record accepts that length
};

struct WalkResult {
    int64_t files = 0;
    int64_t opened = 0;
    std::vector<std::string> hits;  // "path<TAB>detection name", CORE only
};

// Walks `root` depth first. `index` is used by CORE only.
WalkResult Walk(const std::string& root, WalkKind kind, const SignatureIndex* index);

struct ListedFile {
    std::string path;  // relative to the root
    int64_t length;
};

// Every file of the tree with its length, in walk order.
std::vector<ListedFile> ListFiles(const std::string& root);
