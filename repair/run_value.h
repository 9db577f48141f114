// Whether a Run or RunServices value starts the infected file.
#pragma once

enum RunValueVerdict {
    RUN_VALUE_KEEP,
    RUN_VALUE_BARE_NAME,  // names the file without a directory, and the file lies in a system folder
    RUN_VALUE_FULL_PATH,  // the command, with or without a leading quote, begins with the file's path
};

// All three texts lower case: the infected file's full path, the value's data and its environment expansion.
// A bare command (no backslash, or a leading one) that names the file as a whole name is kept unless the
// file lies in \system\ or \system32\; otherwise the data or its expansion must begin with the full path, the
// path followed by the end, a blank, a quote, a comma, a slash or a control character such as a tab.
RunValueVerdict JudgeRunValue(const char* infectedPath, const char* data, const char* expanded);

// `name` occurs in `text` as a whole name: at the start or after a blank, quote or backslash, and followed
// by the end, a blank, a quote, a comma, a slash or a control character (where a full path ends too).
bool ContainsWholeName(const char* text, const char* name);
