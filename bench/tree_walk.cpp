#include "bench/tree_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "engine/detection/pe_reader.h"
#include "engine/detection/signature_match.h"

namespace {

// An open file read with pread: the portable matcher's view of it.
class DescriptorFile : public RandomAccessFile {
public:
    explicit DescriptorFile(int fd) : fd_(fd) {}
    bool ReadAt(uint32_t offset, void* buffer, uint32_t size) override
    {
        if (offset > kMaxSeekOffset) return false;
        return pread(fd_, buffer, size, offset) == static_cast<ssize_t>(size);
    }

private:
    int fd_;
};

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool Dot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

std::string Join(const std::string& folder, const char* name)
{
    return folder.empty() ? name : folder + "/" + name;
}

class Walker {
public:
    Walker(WalkKind kind, const SignatureIndex* index, std::vector<ListedFile>* listed = nullptr)
        : kind_(kind), index_(index), listed_(listed)
    {
    }

    void Folder(int folderFd, const std::string& path)
    {
        DIR* listing = fdopendir(folderFd);
        if (!listing) {
            close(folderFd);
            return;
        }
        while (const dirent* entry = readdir(listing)) {
            if (Dot(entry->d_name)) continue;
            unsigned char type = entry->d_type;
            struct stat info;
            const bool needStat = type == DT_UNKNOWN || (type == DT_REG && kind_ != WalkKind::NAMES);
            if (needStat) {
                if (fstatat(dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
                type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
            }
            if (type == DT_DIR) {
                const int child = openat(dirfd(listing), entry->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                if (child >= 0) Folder(child, Join(path, entry->d_name));
            } else if (type == DT_REG) {
                ++result_.files;
                if (listed_) listed_->push_back({Join(path, entry->d_name), info.st_size});
                if (kind_ == WalkKind::OPEN_ALL) ReadSignatureField(dirfd(listing), entry->d_name);
                if (kind_ == WalkKind::CORE) Check(dirfd(listing), entry->d_name, info.st_size, path);
            }
        }
        closedir(listing);
    }

    WalkResult& result() { return result_; }

private:
    void ReadSignatureField(int folderFd, const char* name)
    {
        Descriptor file(openat(folderFd, name, O_RDONLY | O_CLOEXEC));
        if (file.get() < 0) return;
        ++result_.opened;
        uint8_t field[4];
        if (pread(file.get(), field, 4, kPeOffsetField) != 4) return;
        const uint32_t peOffset = field[0] | field[1] << 8 | field[2] << 16 | uint32_t{field[3]} << 24;
        uint8_t signature[4];
        if (peOffset <= kMaxSeekOffset) (void)!pread(file.get(), signature, 4, peOffset);
    }

    void Check(int folderFd, const char* name, int64_t listedLength, const std::string& path)
    {
        if (!index_->AcceptsLength(listedLength)) return;
        Descriptor file(openat(folderFd, name, O_RDONLY | O_CLOEXEC));
        if (file.get() < 0) return;
        ++result_.opened;
        struct stat info;
        if (fstat(file.get(), &info) != 0 || !index_->AcceptsLength(info.st_size)) return;
        DescriptorFile reader(file.get());
        PeHeaders headers;
        if (!ReadPeHeaders(reader, headers)) return;
        if (const SignatureRecord* record = index_->Match(reader, static_cast<int32_t>(info.st_size), headers))
            result_.hits.push_back(Join(path, name) + "\t" + record->name);
    }

    WalkKind kind_;
    const SignatureIndex* index_;
    std::vector<ListedFile>* listed_;
    WalkResult result_;
};

void WalkFrom(const std::string& root, Walker& walker)
{
    const int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) walker.Folder(fd, "");
}

}  // namespace

WalkResult Walk(const std::string& root, WalkKind kind, const SignatureIndex* index)
{
    Walker walker(kind, index);
    WalkFrom(root, walker);
    return walker.result();
}

std::vector<ListedFile> ListFiles(const std::string& root)
{
    std::vector<ListedFile> listed;
    Walker walker(WalkKind::LISTING, nullptr, &listed);
    WalkFrom(root, walker);
    return listed;
}
