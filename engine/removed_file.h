// What follows every deletion of an infected file, by whichever check found it.
#pragma once

// Counts the file as removed, removes the Trojan's uninstall entry and reports "PATH     NAME removed".
void NoteRemovedFile(const char* path, const char* name);
