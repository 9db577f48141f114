// The MinGW-w64 runtime's thread support (libwinpthread, linked statically because the C++ runtime's static
// guards and exception handling use it) binds kernel32 functions that Windows 98 or NT 4 lack:
// AddVectoredExceptionHandler and RemoveVectoredExceptionHandler (XP), GetTickCount64 (Vista),
// TryEnterCriticalSection (NT only) and, on 9x, the handle and affinity queries. The loader refuses to start a
// program that imports a missing function, so this file defines the runtime's import pointers itself: each
// points at a stand-in that calls the real function when the running system has it and otherwise does what
// the runtime copes with. The program is linked with -u RuntimeImportsLinked, which takes this file from the
// library before the import libraries are searched; its import table then names none of these functions.
#include <windows.h>

#include <type_traits>

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
// Typed by the system header's own declaration, calling convention included, so a 32-bit call through it
// cannot leave the stack unbalanced. decltype takes no import.
#define KERNEL_FUNCTION(function) KernelFunction<decltype(::function)>(#function)

// What a Windows 9x stub of an NT-only function does.
BOOL NotImplemented()
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

// The runtime registers a handler only to name threads for a debugger and checks for null.
PVOID WINAPI AddVectoredHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler)
{
    auto* real = KERNEL_FUNCTION(AddVectoredExceptionHandler);
    return real ? real(first, handler) : nullptr;
}

ULONG WINAPI RemoveVectoredHandler(PVOID handle)
{
    auto* real = KERNEL_FUNCTION(RemoveVectoredExceptionHandler);
    return real ? real(handle) : 0;
}

// The runtime measures timeouts with it; the 32-bit count serves for waits shorter than its 49 days.
ULONGLONG WINAPI TickCount64()
{
    auto* real = KERNEL_FUNCTION(GetTickCount64);
    return real ? real() : GetTickCount();
}

// Without the real function the section is entered, waiting if need be: the program runs one thread, so the
// runtime never finds a section held by another.
BOOL WINAPI TryEnterSection(LPCRITICAL_SECTION section)
{
    auto* real = KERNEL_FUNCTION(TryEnterCriticalSection);
    if (real) return real(section);
    EnterCriticalSection(section);
    return TRUE;
}

BOOL WINAPI HandleInformation(HANDLE handle, LPDWORD flags)
{
    auto* real = KERNEL_FUNCTION(GetHandleInformation);
    return real ? real(handle, flags) : NotImplemented();
}

BOOL WINAPI ProcessAffinity(HANDLE process, PDWORD_PTR processMask, PDWORD_PTR systemMask)
{
    auto* real = KERNEL_FUNCTION(GetProcessAffinityMask);
    return real ? real(process, processMask, systemMask) : NotImplemented();
}

BOOL WINAPI SetAffinity(HANDLE process, DWORD_PTR mask)
{
    auto* real = KERNEL_FUNCTION(SetProcessAffinityMask);
    return real ? real(process, mask) : NotImplemented();
}

}  // namespace

// The import pointers, under the names the runtime's calls go through (stdcall names carry their argument
// bytes). Typed, so that each is a constant the loader relocates: they are read before any constructor runs.
// The runtime calls through them as the system header declares the function: each stand-in must have that
// type, calling convention included (a difference shows only in the 32-bit build).
#define RUNTIME_IMPORT(pointer, standIn, function, argumentBytes)                                               \
    static_assert(std::is_same<decltype(standIn), decltype(::function)>::value, #standIn " is not " #function); \
    extern decltype(&standIn) const pointer __asm__("__imp__" #function "@" #argumentBytes);                    \
    decltype(&standIn) const pointer = &standIn;

extern "C" {
RUNTIME_IMPORT(AddVectoredImport, AddVectoredHandler, AddVectoredExceptionHandler, 8)
RUNTIME_IMPORT(RemoveVectoredImport, RemoveVectoredHandler, RemoveVectoredExceptionHandler, 4)
RUNTIME_IMPORT(TickCount64Import, TickCount64, GetTickCount64, 0)
RUNTIME_IMPORT(TryEnterImport, TryEnterSection, TryEnterCriticalSection, 4)
RUNTIME_IMPORT(HandleInformationImport, HandleInformation, GetHandleInformation, 8)
RUNTIME_IMPORT(ProcessAffinityImport, ProcessAffinity, GetProcessAffinityMask, 12)
RUNTIME_IMPORT(SetAffinityImport, SetAffinity, SetProcessAffinityMask, 8)
}
