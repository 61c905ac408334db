// The vendor library bridge: one load per call, the error box for a missing library, the result slots, the
// cells, and the arguments handed to the exports. Runs against the tests' own CommManagerDll.dll.
#include <gtest/gtest.h>

#include "device/radio_bridge.h"
#include "device_test_support.h"
#include "phone_drive.h"

namespace
{

class RadioBridge : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetDeviceCatches();
        RemoveVendorLibraries();
        SetEnvironmentVariableW(L"FAKE_VENDOR_CALLS", L"");
    }
    void TearDown() override { RemoveVendorLibraries(); }

    static std::wstring Calls()
    {
        wchar_t calls[2048] = L"";
        GetEnvironmentVariableW(L"FAKE_VENDOR_CALLS", calls, 2048);
        return calls;
    }
};

// What the first operations of the run answered, before any test wrote a result slot: taken by a global
// environment, whose set-up runs before every test of the program.
struct FreshSlots : testing::Environment {
    int radioMissingExport = 0;   // RadioSetWlan with the fake library, which lacks the export
    int deviceMissingLibrary = 0; // DevicePowerOff without HTCUtil.dll
    void SetUp() override
    {
        ResetDeviceCatches();
        RemoveVendorLibraries();
        if (InstallVendorLibrary(VENDOR_FAKE, L"CommManagerDll.dll"))
            radioMissingExport = RadioSetWlan(1);
        deviceMissingLibrary = DevicePowerOff();
        RemoveVendorLibraries();
    }
};
FreshSlots *const s_fresh = (FreshSlots *)testing::AddGlobalTestEnvironment(new FreshSlots);

TEST_F(RadioBridge, ResultSlotStartsAtMinusOneThenKeepsTheLastSuccessfulAnswer)
{
    EXPECT_EQ(-1, s_fresh->radioMissingExport) << "the fake has no CommManager_SetWLAN";
    EXPECT_EQ(-1, s_fresh->deviceMissingLibrary);

    ASSERT_TRUE(InstallVendorLibrary(VENDOR_FAKE, L"CommManagerDll.dll"));
    int cell = 0;
    EXPECT_EQ(5, RadioGetPhone(&cell));
    EXPECT_EQ(7, cell);
    EXPECT_EQ(5, RadioSetWlan(0)) << "a missing export keeps the slot";
    int flight = 3;
    EXPECT_EQ(5, RadioGetFlightMode(&flight));
    EXPECT_EQ(3, flight) << "a missing export leaves the cell";
    EXPECT_TRUE(g_caught.boxes.empty()) << "a missing export is silent";

    RemoveVendorLibraries();
    int bluetooth = 9;
    EXPECT_EQ(5, RadioGetBluetooth(&bluetooth)) << "a missing library keeps the slot";
    EXPECT_EQ(9, bluetooth);
}

// Each operation without its library: one error box captioned with the library's file name, the cell kept.
TEST_F(RadioBridge, MissingLibraryShowsOneErrorBoxPerOperationAndKeepsTheCell)
{
    struct Case {
        const char *operation;
        int (*call)(int *cell);
        const wchar_t *caption;
    };
    const Case cases[] = {
        {"RadioSetBluetooth", [](int *) { return RadioSetBluetooth(1); }, L"CommManagerDll.dll"},
        {"RadioSetWlan", [](int *) { return RadioSetWlan(1); }, L"CommManagerDll.dll"},
        {"RadioSetPhone", [](int *) { return RadioSetPhone(0); }, L"CommManagerDll.dll"},
        {"RadioSetFlightMode", [](int *) { return RadioSetFlightMode(1); }, L"CommManagerDll.dll"},
        {"RadioGetBluetooth", RadioGetBluetooth, L"CommManagerDll.dll"},
        {"RadioGetWlan", RadioGetWlan, L"CommManagerDll.dll"},
        {"RadioGetPhone", RadioGetPhone, L"CommManagerDll.dll"},
        {"RadioGetFlightMode", RadioGetFlightMode, L"CommManagerDll.dll"},
        {"RadioDisconnectAllGprs", [](int *) { return RadioDisconnectAllGprs(); }, L"CommManagerDll.dll"},
        {"DevicePowerOff", [](int *) { return DevicePowerOff(); }, L"HTCUtil.dll"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.operation);
        ResetDeviceCatches();
        int cell = 42;
        c.call(&cell);
        EXPECT_EQ(42, cell);
        ASSERT_EQ(1u, g_caught.boxes.size());
        EXPECT_EQ(L"Error: the library was not found!", g_caught.boxes[0].text);
        EXPECT_EQ(std::wstring(c.caption), g_caught.boxes[0].caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), g_caught.boxes[0].style);
    }
}

TEST_F(RadioBridge, ExportsGetExactlyTheArgumentAndTheCell)
{
    ASSERT_TRUE(InstallVendorLibrary(VENDOR_FAKE, L"CommManagerDll.dll"));
    RadioSetBluetooth(0);
    RadioSetBluetooth(1);
    RadioSetPhone(1);
    RadioSetFlightMode(0);
    RadioDisconnectAllGprs();
    int wlan = 0;
    RadioGetWlan(&wlan);
    EXPECT_EQ(7, wlan);
    EXPECT_EQ(L"SetBluetooth 0;SetBluetooth 1;SetPhone 1;SetFlightMode 0;DisconnectAllGPRS;GetWLAN;", Calls());
}

// The library is bound for one call: nothing of it stays loaded, so it can be replaced between calls.
TEST_F(RadioBridge, LibraryIsReleasedAfterEveryCall)
{
    ASSERT_TRUE(InstallVendorLibrary(VENDOR_FAKE, L"CommManagerDll.dll"));
    int cell = 0;
    RadioGetBluetooth(&cell);
    EXPECT_EQ(NULL, GetModuleHandleW(L"CommManagerDll.dll"));
    RemoveVendorLibraries();
    EXPECT_FALSE(PhoneFileExists(L"\\CommManagerDll.dll")) << "a loaded library could not be deleted";
}

} // namespace
