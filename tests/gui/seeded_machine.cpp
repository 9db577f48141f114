#include "tests/gui/seeded_machine.h"

#include <windows.h>

#include <cstdio>

#include "engine/detection/signature_record.h"
#include "tools/samplegen/sample_pe.h"

namespace gui {

bool MakeFolders(const std::string& folder)
{
    for (size_t at = folder.find('\\', 3);; at = folder.find('\\', at + 1)) {
        std::string part = folder.substr(0, at);
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
        if (at == std::string::npos) return true;
    }
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    CloseHandle(file);
    return ok;
}

int ShippedRowCount()
{
    int count = 0;
    while (SignatureTable[count].name[0] != '\0') ++count;
    return count;
}

std::string RowName(int row)
{
    return SignatureTable[row].name;
}

bool WriteRowSample(int row, const std::string& path, std::string* error)
{
    return WriteSample(path.c_str(), SignatureTable[row], SampleOptions{}, error);
}

std::string RemovedLine(const SeededSample& sample)
{
    return sample.path + "     " + sample.detectionName + " removed";
}

bool WriteBulkTree(const std::string& root, int folders, int filesPerFolder)
{
    for (int f = 0; f < folders; ++f) {
        char folder[MAX_PATH];
        std::snprintf(folder, sizeof folder, "%s\\folder%02d", root.c_str(), f);
        if (!MakeFolders(folder)) return false;
        for (int i = 0; i < filesPerFolder; ++i) {
            char path[MAX_PATH];
            std::snprintf(path, sizeof path, "%s\\page%03d.htm", folder, i);
            if (!WriteTextFile(path, "")) return false;
        }
    }
    return true;
}

}  // namespace gui
