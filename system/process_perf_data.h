// Reading the process table out of performance data. Registry data is not trusted: every offset and length
// is checked against the size actually returned, and a bad one ends the walk; nothing outside the buffer is
// ever read.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kPerfIndexSize = 16;

// What the Counters list of ...\Perflib\009 tells about processes: the index of the process object (the value
// name to query under HKEY_PERFORMANCE_DATA) and the counter index of "ID Process".
struct PerfProcessIndexes {
    char processObject[kPerfIndexSize];
    long processIdCounter;
};

// Walks the list of zero-terminated strings, alternating index and English name (last occurrence wins). True
// when both names were found with an index before them.
bool FindProcessIndexes(const char* list, size_t size, PerfProcessIndexes* indexes);

constexpr size_t kPerfNameLength = 16;  // longer instance names are left empty and never match
constexpr size_t kPerfTableRows = 255;
constexpr size_t kPerfMaxInstances = 254;
constexpr uint32_t kPerfIdNone = 0xFFFFFFFEu;  // stands for a process id of 0

struct PerfProcessEntry {
    uint32_t processId;
    char name[kPerfNameLength + 1];
};

// Converts a UTF-16 name of `count` characters to the ANSI code page into `out` (zero-terminated, at most
// outSize bytes). False when the conversion fails.
using PerfNameConverter = bool (*)(const uint16_t* text, size_t count, char* out, size_t outSize);

// Fills rows from the process object that begins the performance-data block, at most kPerfMaxInstances and
// at most `capacity`; returns the number filled.
size_t ReadPerfProcessTable(const uint8_t* block, size_t size, uint32_t processIdCounter, PerfNameConverter convert,
                            PerfProcessEntry* rows, size_t capacity);
