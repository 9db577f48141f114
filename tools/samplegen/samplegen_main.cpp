// samplegen: writes a test sample for one record of the shipped signature table and checks it with the real
// matcher before it is written.
//   samplegen --list
//   samplegen --row N|--name NAME [--near-miss first|second|longer|shorter] [--layout LAYOUT] [--runnable]
//             [--machine i386|x64] [--size BYTES] OUT
// N counts the records of the compiled table from 1. --size writes the strings into a file of another length.
// --machine x64 makes a PE32+ file, for a runnable sample where Wine starts only 64-bit programs.
// LAYOUT: plain, far-pe-header, 20-sections, 21-sections, entry-in-later-section, no-sections.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/detection/pe_reader.h"
#include "engine/detection/signature_match.h"
#include "tools/samplegen/memory_file.h"
#include "tools/samplegen/sample_pe.h"

namespace {

struct Choice {
    const char* word;
    int value;
};

const Choice kNearMisses[] = {{"first", NEAR_MISS_FIRST_STRING},
                              {"second", NEAR_MISS_SECOND_STRING},
                              {"longer", NEAR_MISS_LONGER},
                              {"shorter", NEAR_MISS_SHORTER}};
const Choice kLayouts[] = {{"plain", LAYOUT_PLAIN},
                           {"far-pe-header", LAYOUT_FAR_PE_HEADER},
                           {"20-sections", LAYOUT_TWENTY_SECTIONS},
                           {"21-sections", LAYOUT_TWENTY_ONE_SECTIONS},
                           {"entry-in-later-section", LAYOUT_ENTRY_IN_LATER_SECTION},
                           {"no-sections", LAYOUT_NO_SECTIONS}};
const Choice kMachines[] = {{"i386", SAMPLE_I386}, {"x64", SAMPLE_X64}};

template <size_t N>
bool Choose(const Choice (&choices)[N], const char* word, int& value)
{
    for (const Choice& choice : choices)
        if (std::strcmp(choice.word, word) == 0) {
            value = choice.value;
            return true;
        }
    return false;
}

int RecordCount()
{
    int count = 0;
    while (SignatureTable[count].name[0] != '\0') ++count;
    return count;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: samplegen --list\n"
                 "       samplegen --row N|--name NAME [--near-miss first|second|longer|shorter]\n"
                 "                 [--layout plain|far-pe-header|20-sections|21-sections|entry-in-later-section|"
                 "no-sections] [--runnable] [--machine i386|x64] [--size BYTES] OUT\n");
    return 1;
}

void List()
{
    for (int i = 0; i < RecordCount(); ++i) {
        const SignatureRecord& record = SignatureTable[i];
        std::printf("%d\t%s\t%d bytes\tfirst %d\tsecond %d\tsize test %d\n", i + 1, record.name, record.fileSize,
                    record.firstOffset, record.secondOffset, record.sizeTest);
    }
}

const SignatureRecord* FindRecord(const char* row, const char* name)
{
    if (row) {
        const int index = std::atoi(row);
        return index >= 1 && index <= RecordCount() ? &SignatureTable[index - 1] : nullptr;
    }
    for (int i = 0; i < RecordCount(); ++i)
        if (std::strcmp(SignatureTable[i].name, name) == 0) return &SignatureTable[i];
    return nullptr;
}

// The name the shipped matcher gives the sample, or "" when nothing matches.
const char* MatchedName(const std::vector<uint8_t>& image)
{
    MemoryFile file(image);
    PeHeaders headers;
    if (!ReadPeHeaders(file, headers)) return "";
    const SignatureRecord* hit = MatchSignatureTable(file, static_cast<int32_t>(image.size()), headers);
    return hit ? hit->name : "";
}

}  // namespace

int main(int argc, char** argv)
{
    const char* row = nullptr;
    const char* name = nullptr;
    const char* out = nullptr;
    SampleOptions options;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        int value = 0;
        if (std::strcmp(arg, "--list") == 0) {
            List();
            return 0;
        } else if (std::strcmp(arg, "--row") == 0 && hasValue) {
            row = argv[++i];
        } else if (std::strcmp(arg, "--name") == 0 && hasValue) {
            name = argv[++i];
        } else if (std::strcmp(arg, "--near-miss") == 0 && hasValue && Choose(kNearMisses, argv[i + 1], value)) {
            options.nearMiss = static_cast<NearMiss>(value);
            ++i;
        } else if (std::strcmp(arg, "--layout") == 0 && hasValue && Choose(kLayouts, argv[i + 1], value)) {
            options.layout = static_cast<SampleLayout>(value);
            ++i;
        } else if (std::strcmp(arg, "--machine") == 0 && hasValue && Choose(kMachines, argv[i + 1], value)) {
            options.machine = static_cast<SampleMachine>(value);
            ++i;
        } else if (std::strcmp(arg, "--size") == 0 && hasValue) {
            options.fileSize = std::atoi(argv[++i]);
        } else if (std::strcmp(arg, "--runnable") == 0) {
            options.runnable = true;
        } else if (arg[0] != '-' && !out) {
            out = arg;
        } else {
            return Usage();
        }
    }
    if (!out || (row == nullptr) == (name == nullptr)) return Usage();

    const SignatureRecord* record = FindRecord(row, name);
    if (!record) {
        std::fprintf(stderr, "samplegen: no such record\n");
        return 1;
    }
    std::vector<uint8_t> image;
    std::string error;
    if (!BuildSample(*record, options, image, nullptr, &error)) {
        std::fprintf(stderr, "samplegen: %s: %s\n", record->name, error.c_str());
        return 2;
    }
    // A sample is meant to match its own record, unless it is a near miss, has more sections than are read or
    // another length.
    const char* matched = MatchedName(image);
    const bool hitExpected = options.nearMiss == NEAR_MISS_NONE && options.layout != LAYOUT_TWENTY_ONE_SECTIONS &&
                             (options.fileSize == 0 || options.fileSize == record->fileSize);
    const bool asExpected = hitExpected ? std::strcmp(matched, record->name) == 0 : matched[0] == '\0';
    std::printf("%s: %zu bytes, %s%s\n", out, image.size(), matched[0] ? "matches " : "no match", matched);
    if (!asExpected) {
        std::fprintf(stderr, "samplegen: the matcher does not see the sample as intended; nothing written\n");
        return 3;
    }
    if (!WriteImage(out, image, &error)) {
        std::fprintf(stderr, "samplegen: %s: %s\n", out, error.c_str());
        return 2;
    }
    return 0;
}
