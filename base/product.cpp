#include "base/product.h"

#include "resources/product_texts.h"

char ProductCaption[kTextBufferSize] = VEX_PRODUCT_CAPTION;
char FamilyName[kTextBufferSize] = "W32/StartPage";
int ScanTimerId = 100;
const char kTerminateQuestion[] = "Terminate the Scan now?";
