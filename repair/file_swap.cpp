#include "repair/file_swap.h"

namespace {
bool MoveAsideAndReplace(SwapFileSystem& files, const SwapPaths& paths, bool targetExists)
{
    if (targetExists) {
        files.Remove(paths.previous);  // left by an earlier swap that could not finish
        if (!files.Move(paths.target, paths.previous)) return false;
    }
    if (!files.Move(paths.fresh, paths.target)) {
        if (targetExists) files.Move(paths.previous, paths.target);
        return false;
    }
    if (targetExists) files.Remove(paths.previous);
    return true;
}
}  // namespace

void RestoreMovedAside(SwapFileSystem& files, const SwapPaths& paths)
{
    files.Move(paths.previous, paths.target);  // a move never replaces an existing target
}

bool SwapInContent(SwapFileSystem& files, const SwapPaths& paths, bool targetExists, const std::string& content)
{
    if (!files.WriteComplete(paths.fresh, content)) return false;
    if (MoveAsideAndReplace(files, paths, targetExists)) return true;
    files.Remove(paths.fresh);
    return false;
}
