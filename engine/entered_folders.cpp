#include "engine/entered_folders.h"

#include <new>

namespace {

constexpr size_t kFirstCapacity = 1024;  // a power of two

size_t SlotOf(const FolderIdentity& folder, size_t capacity)
{
    // splitmix64's finaliser: file indexes of one volume differ in few low bits.
    uint64_t mixed = folder.fileIndex ^ (static_cast<uint64_t>(folder.volumeSerial) << 32);
    mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ull;
    mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBull;
    mixed ^= mixed >> 31;
    return static_cast<size_t>(mixed) & (capacity - 1);
}

bool SameFolder(const FolderIdentity& a, const FolderIdentity& b)
{
    return a.fileIndex == b.fileIndex && a.volumeSerial == b.volumeSerial;
}

// The slot that holds `folder`, or the free slot where it belongs.
FolderIdentity& Probe(FolderIdentity* slots, size_t capacity, const FolderIdentity& folder)
{
    size_t slot = SlotOf(folder, capacity);
    while (slots[slot].fileIndex != 0 && !SameFolder(slots[slot], folder)) slot = (slot + 1) & (capacity - 1);
    return slots[slot];
}

}  // namespace

bool EnteredFolders::Enter(const FolderIdentity& folder)
{
    if (folder.fileIndex == 0) return true;
    if (2 * (count_ + 1) > capacity_ && !Grow()) return true;
    FolderIdentity& slot = Probe(slots_.get(), capacity_, folder);
    if (slot.fileIndex != 0) return false;
    slot = folder;
    ++count_;
    return true;
}

bool EnteredFolders::Grow()
{
    const size_t capacity = capacity_ ? 2 * capacity_ : kFirstCapacity;
    std::unique_ptr<FolderIdentity[]> slots(new (std::nothrow) FolderIdentity[capacity]());
    if (!slots) return false;
    for (size_t i = 0; i < capacity_; ++i)
        if (slots_[i].fileIndex != 0) Probe(slots.get(), capacity, slots_[i]) = slots_[i];
    slots_ = std::move(slots);
    capacity_ = capacity;
    return true;
}
