#include "bench/corpus.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <vector>

#include "bench/flat_sample.h"
#include "engine/detection/signature_record.h"
#include "tools/samplegen/sample_pe.h"

namespace {

constexpr int kMaxDepth = 6;
constexpr int kFilesPerFolder = 40;
constexpr int64_t kMaxPoolFileSize = 1 << 20;  // keeps the tree small: most of Wine's PE files are below this

struct Folder {
    std::string path;  // relative to the root, empty for the root
    int depth;
};

class Generator {
public:
    explicit Generator(const CorpusOptions& options) : options_(options), random_(options.seed) {}
    bool Run();

private:
    uint64_t Below(uint64_t bound) { return random_() % bound; }
    std::string Absolute(const std::string& relative) const { return options_.root + "/" + relative; }
    std::string Join(const Folder& folder, const std::string& name) const
    {
        return folder.path.empty() ? name : folder.path + "/" + name;
    }

    bool AddFolder(const std::string& path, int depth);
    bool MakeFolders(int count);
    bool LoadPool();
    bool WriteBytes(const std::string& relative, const std::vector<uint8_t>& bytes);
    bool WriteText(const std::string& relative, size_t size);
    bool WriteBinary(const std::string& relative, size_t size);
    bool WritePeCopy(const Folder& folder, int serial);
    bool WriteSamples();

    const CorpusOptions& options_;
    std::mt19937_64 random_;
    std::vector<Folder> folders_;
    std::vector<std::string> pool_;        // PE files in the source folder, by name
    std::vector<std::string> poolCopies_;  // where each pool file was first copied, or empty
    std::vector<std::string> manifest_;
    int written_ = 0;
};

bool Report(const std::string& what, const std::string& path)
{
    std::fprintf(stderr, "corpus: %s %s: %s\n", what.c_str(), path.c_str(), std::strerror(errno));
    return false;
}

bool Generator::AddFolder(const std::string& path, int depth)
{
    if (mkdir(Absolute(path).c_str(), 0755) != 0) return Report("cannot create", path);
    folders_.push_back({path, depth});
    return true;
}

// A few fixed folders (Program Files, a chain down to the deepest level through dotted names), then random ones
// under random parents.
bool Generator::MakeFolders(int count)
{
    if (mkdir(options_.root.c_str(), 0755) != 0) return Report("cannot create", options_.root);
    folders_.push_back({"", 0});
    if (!AddFolder("Program Files", 1) || !AddFolder("Program Files/Common Files", 2)) return false;
    std::string chain;
    for (int depth = 1; depth <= kMaxDepth; ++depth) {
        chain += (depth == 1 ? "" : "/") + std::string(depth % 2 ? "level" : "level.") + std::to_string(depth);
        if (!AddFolder(chain, depth)) return false;
    }
    while (static_cast<int>(folders_.size()) < count) {
        const Folder parent = folders_[Below(folders_.size())];
        if (parent.depth >= kMaxDepth) continue;
        const int serial = static_cast<int>(folders_.size());
        const std::string number = std::to_string(serial);
        const std::string name = Below(8) == 0 ? "pkg." + number + ".d" : "dir" + number;
        if (!AddFolder(Join(parent, name), parent.depth + 1)) return false;
    }
    return true;
}

bool Generator::LoadPool()
{
    DIR* folder = opendir(options_.peSource.c_str());
    if (!folder) return Report("cannot list", options_.peSource);
    while (dirent* entry = readdir(folder)) {
        const std::string path = options_.peSource + "/" + entry->d_name;
        struct stat info;
        if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        if (info.st_size < 1024 || info.st_size > kMaxPoolFileSize) continue;
        char magic[2] = {};
        std::ifstream file(path, std::ios::binary);
        if (file.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z') pool_.push_back(entry->d_name);
    }
    closedir(folder);
    std::sort(pool_.begin(), pool_.end());  // directory order is not deterministic
    poolCopies_.assign(pool_.size(), std::string());
    if (pool_.empty()) std::fprintf(stderr, "corpus: no PE file in %s\n", options_.peSource.c_str());
    return !pool_.empty();
}

bool Generator::WriteBytes(const std::string& relative, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(Absolute(relative), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) return Report("cannot write", relative);
    ++written_;
    return true;
}

bool Generator::WriteText(const std::string& relative, size_t size)
{
    static const char* const kWords[] = {"the",  "scan", "window",  "file",    "setup",  "options", "default", "value",
                                         "path", "user", "install", "version", "system", "log",     "entry",   "data"};
    std::vector<uint8_t> text;
    text.reserve(size);
    while (text.size() < size) {
        const char* word = kWords[Below(sizeof kWords / sizeof kWords[0])];
        text.insert(text.end(), word, word + std::strlen(word));
        text.push_back(Below(10) == 0 ? '\n' : ' ');
    }
    text.resize(size);
    return WriteBytes(relative, text);
}

bool Generator::WriteBinary(const std::string& relative, size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random_() >> 24);
    return WriteBytes(relative, bytes);
}

// The first copy of a pool file is a real copy; later ones are hard links to it, which keeps the tree small
// while every directory entry is still a file of its own to the walkers.
bool Generator::WritePeCopy(const Folder& folder, int serial)
{
    const size_t pick = Below(pool_.size());
    const std::string relative = Join(folder, "f" + std::to_string(serial) + "_" + pool_[pick]);
    if (!poolCopies_[pick].empty() && link(Absolute(poolCopies_[pick]).c_str(), Absolute(relative).c_str()) == 0) {
        ++written_;
        return true;
    }
    std::ifstream source(options_.peSource + "/" + pool_[pick], std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    poolCopies_[pick] = relative;
    return WriteBytes(relative, bytes);
}

// For each shipped row: one sample both scanners must find, and three near misses neither may find.
bool Generator::WriteSamples()
{
    const std::string hitFolders[] = {"Program Files", folders_[2 + kMaxDepth].path, ""};
    static const NearMiss kMisses[] = {NEAR_MISS_FIRST_STRING, NEAR_MISS_SECOND_STRING, NEAR_MISS_LONGER};
    for (int row = 0; row < 3 && SignatureTable[row].name[0] != '\0'; ++row) {
        const SignatureRecord& record = SignatureTable[row];
        std::vector<uint8_t> image;
        std::string error;
        if (!BuildFlatSample(record, image, &error)) {
            std::fprintf(stderr, "corpus: row %d: %s\n", row + 1, error.c_str());
            return false;
        }
        std::string folder = hitFolders[row];
        if (folder.empty()) {  // the third goes into some folder with a dot in its name
            for (const Folder& candidate : folders_)
                if (candidate.path.find("pkg.", candidate.path.rfind('/') + 1) != std::string::npos)
                    folder = candidate.path;
        }
        const std::string hit = (folder.empty() ? "" : folder + "/") + "update" + std::to_string(row + 1) + ".exe";
        if (!WriteBytes(hit, image)) return false;
        manifest_.push_back("hit\t" + hit + "\t" + record.name);
        for (NearMiss miss : kMisses) {
            SampleOptions sampleOptions;
            sampleOptions.nearMiss = miss;
            const std::string path = Join(folders_[Below(folders_.size())],
                                          "near" + std::to_string(row + 1) + "_" + std::to_string(miss) + ".exe");
            if (!BuildSample(record, sampleOptions, image, nullptr, &error) || !WriteBytes(path, image))
                return Report("cannot make the near miss " + error, path);
            manifest_.push_back("miss\t" + path);
        }
    }
    return true;
}

bool Generator::Run()
{
    if (!LoadPool() || !MakeFolders(std::max(20, options_.files / kFilesPerFolder))) return false;
    if (!WriteSamples()) return false;
    for (int serial = 0; written_ < options_.files; ++serial) {
        const Folder& folder = folders_[Below(folders_.size())];
        const uint64_t kind = Below(100);
        bool ok;
        if (kind < 50)
            ok = WriteText(Join(folder, "note" + std::to_string(serial) + (kind < 10 ? ".ini" : ".txt")),
                           64 + Below(16 * 1024));
        else if (kind < 85)
            ok = WriteBinary(Join(folder, "data" + std::to_string(serial) + ".bin"), 256 + Below(32 * 1024));
        else
            ok = WritePeCopy(folder, serial);
        if (!ok) return false;
    }
    std::ofstream manifest(options_.manifest, std::ios::trunc);
    manifest << "# files " << options_.files << " seed " << options_.seed << "\n";
    for (const std::string& line : manifest_) manifest << line << "\n";
    return static_cast<bool>(manifest);
}

}  // namespace

bool GenerateCorpus(const CorpusOptions& options)
{
    Generator generator(options);
    return generator.Run();
}
