// The folders one scan has entered, by identity rather than by path: a folder link or junction leads back into
// a folder under another path, and a walk that entered it again would go round the loop (with two links to an
// ancestor in one folder, without end). Owned by whoever starts the walks of one scan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// What names one folder whatever the path to it: the volume's serial number and the folder's file index on it.
// Index 0 is no identity (file systems without stable indexes report it).
struct FolderIdentity {
    uint32_t volumeSerial;
    uint64_t fileIndex;
};

class EnteredFolders {
public:
    // Records `folder` as entered. False when this set has recorded it before: the folder must not be entered
    // again. A folder without identity, or one the set cannot record for want of memory, is always true: it is
    // walked as it would be without the set.
    bool Enter(const FolderIdentity& folder);

private:
    bool Grow();

    // Open addressing; a slot with index 0 is free. Allocated on the first folder, doubled when half full.
    std::unique_ptr<FolderIdentity[]> slots_;
    size_t capacity_ = 0;
    size_t count_ = 0;
};
