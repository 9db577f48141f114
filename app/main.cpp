#include <windows.h>

#include "app/product.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    MessageBoxA(nullptr, FamilyName, ProductCaption, MB_OK);
    return 0;
}
