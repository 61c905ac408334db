// The vendor library bridge: load, look up one export, call it, release, for every operation.
#include <windows.h>

#include <wince.h>

#include "radio_bridge.h"

namespace
{

// The state of the bridge: the libraries' handles and result slots, program-wide for the whole run.
struct VendorLibrary {
    const wchar_t *fileName; // passed to LoadLibraryW as it is
    HMODULE handle;          // overwritten by every load
    int result;              // what the last successful export call returned; -1 before any
};

VendorLibrary s_radioLibrary = {kRadioLibrary, NULL, -1};
VendorLibrary s_deviceLibrary = {kDeviceLibrary, NULL, -1};

typedef int(WINAPIV *IntExport)(int);
typedef int(WINAPIV *CellExport)(int *);
typedef int(WINAPIV *PlainExport)();

// Loads the library; a missing one is reported with the error box captioned with its file name.
bool LoadVendorLibrary(VendorLibrary &library)
{
    library.handle = LoadLibraryW(library.fileName);
    if (!library.handle)
        MessageBoxW(NULL, L"Error: the library was not found!", library.fileName, MB_OK | MB_ICONERROR);
    return library.handle != NULL;
}

FARPROC FindExport(VendorLibrary &library, const wchar_t *name)
{
    return library.handle ? GetProcAddressW(library.handle, name) : NULL;
}

int ReleaseVendorLibrary(VendorLibrary &library)
{
    if (library.handle)
        FreeLibrary(library.handle);
    return library.result;
}

int CallWithInt(VendorLibrary &library, const wchar_t *name, int value)
{
    LoadVendorLibrary(library);
    if (IntExport call = (IntExport)FindExport(library, name))
        library.result = call(value);
    return ReleaseVendorLibrary(library);
}

int CallWithCell(VendorLibrary &library, const wchar_t *name, int *cell)
{
    LoadVendorLibrary(library);
    if (CellExport call = (CellExport)FindExport(library, name))
        library.result = call(cell);
    return ReleaseVendorLibrary(library);
}

int CallPlain(VendorLibrary &library, const wchar_t *name)
{
    LoadVendorLibrary(library);
    if (PlainExport call = (PlainExport)FindExport(library, name))
        library.result = call();
    return ReleaseVendorLibrary(library);
}

} // namespace

// The exports are looked up by their wide names, as the phone's GetProcAddressW takes them.
int RadioSetBluetooth(int on)
{
    return CallWithInt(s_radioLibrary, L"CommManager_SetBluetooth", on);
}
int RadioSetWlan(int on)
{
    return CallWithInt(s_radioLibrary, L"CommManager_SetWLAN", on);
}
int RadioSetPhone(int on)
{
    return CallWithInt(s_radioLibrary, L"CommManager_SetPhone", on);
}
int RadioSetFlightMode(int on)
{
    return CallWithInt(s_radioLibrary, L"CommManager_SetFlightMode", on);
}
int RadioGetBluetooth(int *cell)
{
    return CallWithCell(s_radioLibrary, L"CommManager_GetBluetooth", cell);
}
int RadioGetWlan(int *cell)
{
    return CallWithCell(s_radioLibrary, L"CommManager_GetWLAN", cell);
}
int RadioGetPhone(int *cell)
{
    return CallWithCell(s_radioLibrary, L"CommManager_GetPhone", cell);
}
int RadioGetFlightMode(int *cell)
{
    return CallWithCell(s_radioLibrary, L"CommManager_GetFlightMode", cell);
}
int RadioDisconnectAllGprs()
{
    return CallPlain(s_radioLibrary, L"CommManager_DisconnectAllGPRS");
}
int DevicePowerOff()
{
    return CallPlain(s_deviceLibrary, L"HTCUtilDeviceOff");
}
