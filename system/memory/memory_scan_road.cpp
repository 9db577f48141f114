#include "system/memory/memory_scan_road.h"

#include <cstring>

#include "base/platform_text.h"
#include "base/text_buffer.h"
#include "system/platform.h"

InfectedProcessRoad ChooseInfectedProcessRoad(int platformCode, int ntGeneration, bool terminated)
{
    if (platformCode == PLATFORM_WIN9X) return ROAD_REMOVAL_WALK;
    if (platformCode != PLATFORM_NT) return ROAD_NONE;
    if (terminated) return ROAD_REMOVAL_WALK;
    return ntGeneration == NT_GENERATION_4 || ntGeneration == NT_GENERATION_5 ? ROAD_SERVICE : ROAD_NONE;
}

bool ServiceNameFromImagePath(const char* imagePath, char (&name)[kTextBufferSize])
{
    if (!CopyText(name, FileNamePart(imagePath))) return false;
    if (char* dot = std::strrchr(name, '.')) *dot = '\0';
    return name[0] != '\0';
}
