// Test samples for the signature matcher: minimal valid PE32 files of an exact length in which a record's two
// byte strings sit at their distances from the entry point, reached through the section table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/detection/signature_record.h"

enum NearMiss {
    NEAR_MISS_NONE,
    NEAR_MISS_FIRST_STRING,   // last byte of the first string changed
    NEAR_MISS_SECOND_STRING,  // last byte of the second string changed
    NEAR_MISS_LONGER,         // file one byte longer than the record's size
    NEAR_MISS_SHORTER,        // file one byte shorter
};

enum SampleLayout {
    LAYOUT_PLAIN,
    LAYOUT_FAR_PE_HEADER,           // e_lfanew = 65536
    LAYOUT_TWENTY_SECTIONS,         // padded with empty sections to exactly 20
    LAYOUT_TWENTY_ONE_SECTIONS,     // one more than the matcher reads
    LAYOUT_ENTRY_IN_LATER_SECTION,  // an extra section comes before the entry point's
    LAYOUT_NO_SECTIONS,             // no section table: every rva is its own file offset
};

enum SampleMachine {
    SAMPLE_I386,  // PE32: what the signature rows describe
    SAMPLE_X64,   // PE32+ with the section table where PE32 has it, for runnable samples under a 64-bit-only Wine
};

// Runnable samples a test starts are of the test program's own kind: a 64-bit build runs where 32-bit code
// cannot.
constexpr SampleMachine kBuildMachine = sizeof(void*) == 8 ? SAMPLE_X64 : SAMPLE_I386;

struct SampleOptions {
    NearMiss nearMiss = NEAR_MISS_NONE;
    SampleLayout layout = LAYOUT_PLAIN;
    // Startable on Windows and Wine: imports kernel32 Sleep and loops at the entry point, counting rounds in
    // a 32-bit counter at imageBase + counterRva. Not possible without sections.
    bool runnable = false;
    SampleMachine machine = SAMPLE_I386;
    // The file's length before a longer/shorter near miss; 0 means the record's own fileSize. Another length
    // gives a sample the size test turns away (small seeds for the big records).
    int32_t fileSize = 0;
};

struct SampleInfo {
    uint32_t imageBase;
    uint32_t entryPoint;         // rva
    uint32_t firstStringOffset;  // file offsets of the two strings
    uint32_t secondStringOffset;
    uint32_t counterRva;  // runnable samples only, else 0
};

// Builds the sample for `record` into `image`. False, with the reason in `error`, when the record's strings
// and code cannot be laid out within its length in the chosen layout.
bool BuildSample(const SignatureRecord& record, const SampleOptions& options, std::vector<uint8_t>& image,
                 SampleInfo* info, std::string* error);

// Builds the sample and writes it to `path`.
bool WriteSample(const char* path, const SignatureRecord& record, const SampleOptions& options, std::string* error);
bool WriteImage(const char* path, const std::vector<uint8_t>& image, std::string* error);

// A record made at run time (tests and fuzzing use their own small tables). The name is cut to 49 characters.
SignatureRecord MakeRecord(const char* name, int32_t firstOffset, const uint8_t (&firstPattern)[kPatternLength],
                           int32_t secondOffset, const uint8_t (&secondPattern)[kPatternLength], int32_t fileSize,
                           int32_t sizeTest);

// The explicit description of a PE32 image, for files the planner would not make (tests of odd headers).
struct SampleSection {
    char name[9];
    uint32_t virtualSize;
    uint32_t virtualAddress;
    uint32_t sizeOfRawData;
    uint32_t pointerToRawData;
    uint32_t characteristics;
};

struct PeImageSpec {
    SampleMachine machine = SAMPLE_I386;
    uint32_t fileLength = 0;
    uint32_t peOffset = 0x80;
    uint16_t sizeOfOptionalHeader = 224;  // the section table is written at peOffset + 248 whatever this says
    uint32_t entryPoint = 0;
    uint32_t sizeOfHeaders = 0;
    uint32_t sizeOfImage = 0;
    uint32_t importTableRva = 0, importTableSize = 0;
    uint32_t importAddressTableRva = 0, importAddressTableSize = 0;
    std::vector<SampleSection> sections;
};

// DOS header, PE signature, file and optional headers and the section table, zeros elsewhere; cut at
// fileLength when the headers are longer.
std::vector<uint8_t> EmitPeImage(const PeImageSpec& plan);

// Little-endian stores into an image; bytes past its end are not written.
void PatchLe16(std::vector<uint8_t>& image, size_t offset, uint16_t value);
void PatchLe32(std::vector<uint8_t>& image, size_t offset, uint32_t value);

constexpr uint32_t kSampleImageBase = 0x400000;
