// Putting new content in a file's place so that no moment exists at which the only copy of the old content
// is lost. Windows 9x has no replacing move: the new content is written complete beside the file, the old
// file steps aside, the new one takes its name, and the old one comes back if that fails.
#pragma once

#include <string>

// The file operations the swap needs; the Windows glue passes the platform's own.
class SwapFileSystem {
public:
    // Writes `content` as a new file at `path`: complete, or no file is left there.
    virtual bool WriteComplete(const char* path, const std::string& content) = 0;
    // Renames `from` to `to`; fails, changing nothing, when `to` exists.
    virtual bool Move(const char* from, const char* to) = 0;
    virtual void Remove(const char* path) = 0;

protected:
    ~SwapFileSystem() = default;
};

struct SwapPaths {
    const char* target;
    const char* fresh;     // the new content, complete before it replaces the target
    const char* previous;  // the old file, until the new one is in place
};

// A swap that stopped after moving the target aside (both renames failed, or the power failed between them)
// left the only copy of the old content under the previous name, and the next swap would remove it: it goes
// back first. Changes nothing when the target exists or nothing was left aside.
void RestoreMovedAside(SwapFileSystem& files, const SwapPaths& paths);

// True when `target` holds `content`. False leaves `target` as it was (absent when it was absent) and removes
// the fresh file; only if putting the old file back fails too does it stay under the previous name.
bool SwapInContent(SwapFileSystem& files, const SwapPaths& paths, bool targetExists, const std::string& content);
