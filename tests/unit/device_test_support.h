// What the device unit tests share: caught message boxes and sleeps, vendor libraries put on and taken off the
// phone drive, and a clean emulated-phone state in the test prefix's registry.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A message box the code under test asked for.
struct ShownBox {
    std::wstring text;    // the box's text
    std::wstring caption; // its caption
    UINT style;           // its style flags
};

// What the caught calls saw since the last ResetDeviceCatches.
struct DeviceCatches {
    std::vector<ShownBox> boxes; // every MessageBoxW, oldest first
    std::vector<DWORD> sleeps;   // every Sleep's milliseconds, oldest first
};
extern DeviceCatches g_caught;

// Routes the test program's MessageBoxW and Sleep to recorders (once), and empties the records.
void ResetDeviceCatches();

// Sleeps for real, around the caught Sleep.
void RealSleep(DWORD ms);

// Which build of a vendor library to put on the phone drive.
enum VendorBuild {
    VENDOR_FAKE,     // the tests' own CommManagerDll.dll with two exports missing
    VENDOR_EMULATOR, // the emulated phone's library, as the phone's Windows folder holds it
};

// Copies a vendor library (L"CommManagerDll.dll" or L"HTCUtil.dll") to the root of the phone drive, where
// LoadLibraryW by bare name finds it. Returns false when it cannot.
bool InstallVendorLibrary(VendorBuild build, const wchar_t *fileName);

// Deletes both vendor libraries from the phone drive.
void RemoveVendorLibraries();

// A build product's path next to the test program's folder, e.g. L"emulator\\phone\\Manila.exe".
std::wstring BuildPath(const wchar_t *relative);

// Deletes the emulated phone's own registry key and sets the radio delay (ms).
void ResetEmulatedPhone(DWORD radioDelayMs);
