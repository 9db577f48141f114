// sigtool: makes signature rows from known samples, explains the matcher's verdict on a file, and checks a table
// and clean folders for false positives. Run without arguments for its usage.
#include <iostream>

#include "tools/sigtool/sigtool.h"

int main(int argc, char** argv)
{
    return RunSigtool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
