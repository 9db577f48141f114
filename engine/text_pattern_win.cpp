#include "engine/text_pattern.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <climits>
#include <cstdio>

#include "engine/progress_channel.h"
#include "engine/scan_state.h"
#include "engine/text_buffer.h"
#include "repair/startup_entries.h"

namespace {
// The file through the runtime's descriptor input, untranslated.
class DescriptorSource : public TextSource {
public:
    explicit DescriptorSource(const char* path) : fd_(_open(path, _O_RDONLY | _O_BINARY)) {}
    ~DescriptorSource() { Close(); }
    DescriptorSource(const DescriptorSource&) = delete;
    DescriptorSource& operator=(const DescriptorSource&) = delete;

    bool IsOpen() const { return fd_ != -1; }
    void Close()
    {
        if (fd_ != -1) _close(fd_);
        fd_ = -1;
    }
    bool Length(uint32_t* length) override
    {
        long size = _filelength(fd_);
        if (size < 0) return false;
        *length = static_cast<uint32_t>(size);
        return true;
    }
    bool ReadAt(uint32_t offset, void* buffer, uint32_t count) override
    {
        if (offset > static_cast<uint32_t>(LONG_MAX) || count > static_cast<uint32_t>(INT_MAX)) return false;
        if (_lseek(fd_, static_cast<long>(offset), SEEK_SET) == -1L) return false;
        return _read(fd_, buffer, count) == static_cast<int>(count);
    }

private:
    int fd_;
};

void RemoveMatchedFile(const char* path, const char* name)
{
    // No attribute reset, termination or scheduling: a text file is not locked by a running worm.
    if (DeleteFileA(path)) {
        ++Scan.filesRemoved;
        CleanUninstallEntry();
        AppendResultF("%s     %s removed", path, name);
    } else {
        AppendResultF("%s     %s Remove failed", path, name);
    }
}
}  // namespace

int CheckTextPatternFile(const char* /*label*/, const char* path)
{
    UnscrambleTextPatternsOnce();
    DescriptorSource file(path);
    if (!file.IsOpen()) return 0;
    const TextPatternRecord* record = MatchTextPatterns(file, TextPatternTable, kTextPatternCount);
    file.Close();
    if (!record) return 0;
    ++Scan.filesInfected;
    CopyText(Scan.detectionName, record->name);
    CopyText(Scan.statusText, path);
    if (Scan.action == ACTION_DELETE) RemoveMatchedFile(path, record->name);
    return 1;
}
