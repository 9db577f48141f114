// Which file a service's configured image names, decided as the service manager decides it, so that a
// service is stopped and unregistered only when it runs the infected file and not merely shares its name.
#pragma once

#include <cstddef>

#include "base/product.h"

// The longest ImagePath text read; a longer one (a long argument list) is not told apart and so not touched.
constexpr size_t kServiceImageTextSize = 1024;

struct ServiceImageFacts {
    const char* systemRoot;                // the system root without a closing backslash, as C:\WINNT
    bool (*fileExists)(const char* path);  // an existing file, not a folder
};

// The file that the service manager starts for the configured image text (the service key's ImagePath;
// `expandable` when it is stored as an expandable string). As the manager does: %SystemRoot%, %windir% and
// %SystemDrive% expanded; "\??\" dropped; "\SystemRoot\..." and a relative path taken under the system root,
// "\..." on the system drive; a quoted path ends at its closing quote; an unquoted one is cut at each blank in
// turn, shortest first, and the first that names a file wins; ".exe" added to a file name without an
// extension. False when no file is named, or when it cannot be told: other environment strings (the manager's
// environment is not the program's), a text or path too long.
bool ServiceImageFile(const char* configured, bool expandable, const ServiceImageFacts& facts,
                      char (&path)[kTextBufferSize]);

// Whether the service key HKEY_LOCAL_MACHINE\<serviceKeyPath> configures the file `imagePath` as its image:
// its ImagePath names that file (the same text ignoring case, or the same short form). False when the key,
// its ImagePath or the file cannot be read.
bool ServiceKeyConfiguresImage(const char* serviceKeyPath, const char* imagePath);
// The same for the service `name` as the service manager knows it now: its key in the current control set.
bool ServiceConfiguresImage(const char* name, const char* imagePath);
