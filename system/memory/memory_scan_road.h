// What the memory scan does with a process whose image it found infected, decided without Windows.
#pragma once

#include "base/product.h"

enum InfectedProcessRoad {
    ROAD_REMOVAL_WALK,  // walk the image again so that the file check removes it
    ROAD_SERVICE,       // stop the service named after the image, remove its keys, then decide on the file
    ROAD_NONE,          // leave process and file alone
};

// `terminated`: the first or the second termination attempt succeeded. On 9x the image is walked again even
// when the process survived: the file check then schedules its deletion at the next start. On NT a process
// that ended goes straight to the removal walk (a second attempt fails only because it is gone, which says
// nothing about a service); one that resisted is taken for a service on NT 4 and NT 5 only.
InfectedProcessRoad ChooseInfectedProcessRoad(int platformCode, int ntGeneration, bool terminated);

// The service name the memory scan assumes for an image: the part after the last backslash, cut at its last
// dot (C:\WINNT\system32\abc.exe gives abc). False when that leaves nothing.
bool ServiceNameFromImagePath(const char* imagePath, char (&name)[kTextBufferSize]);
