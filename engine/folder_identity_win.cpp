#include "engine/folder_identity_win.h"

#include <windows.h>

#include "base/platform_handles.h"

bool ReadFolderIdentity(const char* folder, FolderIdentity* identity)
{
    // No access rights asked: the open only reads metadata, so it neither needs nor takes the right to list
    // or change the folder, and it shares everything, so it stands in no one's way. Backup semantics is what
    // lets CreateFileA open a folder at all; it follows links and junctions to the folder they lead to.
    ScopedHandle handle(CreateFileA(folder, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.IsValid()) return false;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle.Get(), &information)) return false;
    identity->volumeSerial = information.dwVolumeSerialNumber;
    identity->fileIndex = (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return true;
}
