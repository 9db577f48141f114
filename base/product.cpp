#include "base/product.h"

char ProductCaption[kTextBufferSize] = "Vexilor Ver 1.0";
char FamilyName[kTextBufferSize] = "W32/StartPage";
int ScanTimerId = 100;
