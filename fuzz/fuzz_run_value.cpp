// The Run-value decision over arbitrary texts: the input holds the infected path, the data and the expansion,
// separated by zero bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "repair/run_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string parts[3];
    size_t part = 0;
    for (size_t i = 0; i < size && part < 3; ++i) {
        if (data[i] == 0)
            ++part;
        else
            parts[part] += static_cast<char>(data[i]);
    }
    RunValueVerdict verdict = JudgeRunValue(parts[0].c_str(), parts[1].c_str(), parts[2].c_str());
    // Without a directory there is no file name to judge by.
    if (parts[0].find('\\') == std::string::npos && verdict != RUN_VALUE_KEEP) std::abort();
    ContainsWholeName(parts[1].c_str(), parts[0].c_str());
    return 0;
}
