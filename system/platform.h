// Which Windows family the program runs on. Nothing is cached: every caller asks again when it needs to know.
#pragma once

// Results of GetPlatformCode.
constexpr int PLATFORM_QUERY_FAILED = 0;
constexpr int PLATFORM_OTHER = 1;
constexpr int PLATFORM_WIN9X = 4;  // Windows 95, 98, ME
constexpr int PLATFORM_NT = 5;

// Results of GetNtGeneration. NT_GENERATION_4 shares its value with PLATFORM_NT; never compare across the sets.
constexpr int NT_GENERATION_NONE = 0;  // not NT, query failed, or Vista and later
constexpr int NT_GENERATION_4 = 5;     // NT 4.0 and earlier
constexpr int NT_GENERATION_5 = 6;     // 2000, XP, Server 2003

int GetPlatformCode();
int GetNtGeneration();

// The decisions from the version record's platform identifier and major version, without asking Windows.
int PlatformCodeFor(unsigned long platformId);
int NtGenerationFor(unsigned long platformId, unsigned long majorVersion);
