// The MinGW-w64 runtime's thread support (libwinpthread, linked statically because the C++ runtime's static
// guards and exception handling use it) binds kernel32 functions that Windows 98 or NT 4 lack:
// AddVectoredExceptionHandler and RemoveVectoredExceptionHandler (XP), GetTickCount64 (Vista),
// TryEnterCriticalSection (NT only) and, on 9x, the handle and affinity queries. The loader refuses to start a
// program that imports a missing function, so this file defines the runtime's import pointers itself: each
// points at a stand-in that calls the real function when the running system has it and otherwise does what
// the runtime copes with. The program is linked with -u RuntimeImportsLinked, which takes this file from the
// library before the import libraries are searched; its import table then names none of these functions.
#include <windows.h>

extern "C" {
// Referenced from the link line only.
extern const int RuntimeImportsLinked;
const int RuntimeImportsLinked = 1;
}

namespace {

// The running system's own export, or null. kernel32 is loaded in every process, so no reference is taken.
template <typename F>
F* KernelFunction(const char* name)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

// What a Windows 9x stub of an NT-only function does.
BOOL NotImplemented()
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

// The runtime registers a handler only to name threads for a debugger and checks for null.
PVOID WINAPI AddVectoredHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler)
{
    auto* real = KernelFunction<PVOID WINAPI(ULONG, PVECTORED_EXCEPTION_HANDLER)>("AddVectoredExceptionHandler");
    return real ? real(first, handler) : nullptr;
}

ULONG WINAPI RemoveVectoredHandler(PVOID handle)
{
    auto* real = KernelFunction<ULONG WINAPI(PVOID)>("RemoveVectoredExceptionHandler");
    return real ? real(handle) : 0;
}

// The runtime measures timeouts with it; the 32-bit count serves for waits shorter than its 49 days.
ULONGLONG WINAPI TickCount64()
{
    auto* real = KernelFunction<ULONGLONG WINAPI()>("GetTickCount64");
    return real ? real() : GetTickCount();
}

// Without the real function the section is entered, waiting if need be: the program runs one thread, so the
// runtime never finds a section held by another.
BOOL WINAPI TryEnterSection(LPCRITICAL_SECTION section)
{
    auto* real = KernelFunction<BOOL WINAPI(LPCRITICAL_SECTION)>("TryEnterCriticalSection");
    if (real) return real(section);
    EnterCriticalSection(section);
    return TRUE;
}

BOOL WINAPI HandleInformation(HANDLE handle, LPDWORD flags)
{
    auto* real = KernelFunction<BOOL WINAPI(HANDLE, LPDWORD)>("GetHandleInformation");
    return real ? real(handle, flags) : NotImplemented();
}

BOOL WINAPI ProcessAffinity(HANDLE process, PDWORD_PTR processMask, PDWORD_PTR systemMask)
{
    auto* real = KernelFunction<BOOL WINAPI(HANDLE, PDWORD_PTR, PDWORD_PTR)>("GetProcessAffinityMask");
    return real ? real(process, processMask, systemMask) : NotImplemented();
}

BOOL WINAPI SetAffinity(HANDLE process, DWORD_PTR mask)
{
    auto* real = KernelFunction<BOOL WINAPI(HANDLE, DWORD_PTR)>("SetProcessAffinityMask");
    return real ? real(process, mask) : NotImplemented();
}

}  // namespace

// The import pointers, under the names the runtime's calls go through (stdcall names carry their argument
// bytes). Typed, so that each is a constant the loader relocates: they are read before any constructor runs.
#define RUNTIME_IMPORT(pointer, standIn, importName)                       \
    extern decltype(&standIn) const pointer __asm__("__imp__" importName); \
    decltype(&standIn) const pointer = &standIn;

extern "C" {
RUNTIME_IMPORT(AddVectoredImport, AddVectoredHandler, "AddVectoredExceptionHandler@8")
RUNTIME_IMPORT(RemoveVectoredImport, RemoveVectoredHandler, "RemoveVectoredExceptionHandler@4")
RUNTIME_IMPORT(TickCount64Import, TickCount64, "GetTickCount64@0")
RUNTIME_IMPORT(TryEnterImport, TryEnterSection, "TryEnterCriticalSection@4")
RUNTIME_IMPORT(HandleInformationImport, HandleInformation, "GetHandleInformation@8")
RUNTIME_IMPORT(ProcessAffinityImport, ProcessAffinity, "GetProcessAffinityMask@12")
RUNTIME_IMPORT(SetAffinityImport, SetAffinity, "SetProcessAffinityMask@8")
}
