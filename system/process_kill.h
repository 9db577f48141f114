// Terminating the processes that run an infected file, so that the file can be deleted. Each Windows family
// has its own enumeration road, and each road names processes differently (see system/process_match.h).
#pragma once

// Terminates the processes whose image is `path` (a full path). Nonzero: the caller may retry the deletion.
// When the toolhelp or performance-data road terminated nothing, shows the plain "Could not kill process" box
// (caption: the path) and returns 0. On platforms without a road it returns 1 at once.
int KillProcessesByImage(const char* path);

// Each road picks processes by its own rule, then terminates one only when, opened, it is shown to run `path`
// (system/process_access.h).
// Windows 9x: toolhelp snapshot; terminates every process whose image path is `path`. 1 when one was
// terminated.
int KillByToolhelp(const char* path);
// NT 5: psapi.dll, loaded at run time; terminates every process whose image path is `path`, ignoring case.
// 1 whenever the enumeration ran, even if nothing matched; 0 when it could not run.
int KillByPsapi(const char* path);
// NT 4 and Vista onwards: the performance-data registry; takes every process whose instance name is the
// path's base name, or that name with a copy number ("abc#1"). 1 when at least one process was terminated.
int KillByPerfData(const char* path);
