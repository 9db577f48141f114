// vexbench_floor [--one-pass] [ROOT]: the Windows floor of a scan. Walks ROOT (default "C:\") with
// FindFirstFileA/FindNextFileA and does nothing else: by default the program's own walk (each folder searched
// twice: its files, then its subfolders), with --one-pass a single search per folder. Prints the walk's time,
// measured inside the process so that Wine's start-up is not counted, and the number of files.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Counts {
    long files = 0;
    long folders = 0;
};

class Search {
public:
    Search(const std::string& pattern, WIN32_FIND_DATAA& data) : handle_(FindFirstFileA(pattern.c_str(), &data)) {}
    ~Search()
    {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;
    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& data) { return FindNextFileA(handle_, &data) != 0; }

private:
    HANDLE handle_;
};

bool IsFolder(const WIN32_FIND_DATAA& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && std::strcmp(data.cFileName, ".") != 0 &&
           std::strcmp(data.cFileName, "..") != 0;
}

// `folder` ends with a backslash.
void Walk(const std::string& folder, bool onePass, Counts& counts)
{
    ++counts.folders;
    WIN32_FIND_DATAA data;
    {
        Search search(folder + "*.*", data);
        if (search.Found()) {
            do {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++counts.files;
                if (onePass && IsFolder(data)) Walk(folder + data.cFileName + "\\", onePass, counts);
            } while (search.Next(data));
        }
    }
    if (onePass) return;
    Search search(folder + "*", data);
    if (!search.Found()) return;
    do {
        if (IsFolder(data)) Walk(folder + data.cFileName + "\\", onePass, counts);
    } while (search.Next(data));
}

}  // namespace

int main(int argc, char** argv)
{
    bool onePass = false;
    std::string root = "C:\\";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--one-pass") == 0)
            onePass = true;
        else
            root = argv[i];
    }
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    Counts counts;
    QueryPerformanceCounter(&start);
    Walk(root, onePass, counts);
    QueryPerformanceCounter(&stop);
    std::printf("seconds=%.6f files=%ld folders=%ld\n",
                static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart, counts.files, counts.folders);
    return 0;
}
