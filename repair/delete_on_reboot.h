// Deleting a locked file at the next system start: a delayed move on NT, a [rename] entry in wininit.ini on
// Windows 9x.
#pragma once

// 1 when the deletion of `path` (a full path) is scheduled, 0 when it could not be (the result of the delayed
// move on NT; on 9x 0 also when the file's short path cannot be obtained, in which case nothing is written).
int ScheduleDeleteOnReboot(const char* path);

// Adds the line "<entry>=<target>\r\n" to the [rename] section of wininit.ini in the Windows directory,
// creating the file or the section when missing. The file is replaced only once its new content is complete,
// so it never loses a line. 1 when the entry was written.
int AddWininitRename(const char* entry, const char* target);
