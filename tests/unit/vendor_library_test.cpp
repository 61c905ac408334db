// The emulated phone's vendor libraries seen through the bridge: a Set shows after the radio delay, the rules
// that tie the radios together, the record of calls, and power off handed to the power manager.
#include <windows.h>

#include <wince.h>

#include <gtest/gtest.h>

#include "device/radio_bridge.h"
#include "device/system_probes.h"
#include "device_test_support.h"
#include "phone_link.h"
#include "phone_state.h"

namespace
{

class VendorLibrary : public testing::Test
{
protected:
    void SetUp() override
    {
        ResetDeviceCatches();
        RemoveVendorLibraries();
        ASSERT_TRUE(InstallVendorLibrary(VENDOR_EMULATOR, L"CommManagerDll.dll"));
        ASSERT_TRUE(InstallVendorLibrary(VENDOR_EMULATOR, L"HTCUtil.dll"));
        ResetEmulatedPhone(0);
    }
    void TearDown() override { RemoveVendorLibraries(); }

    // The four cells after a Get of each radio.
    static std::vector<int> Radios()
    {
        std::vector<int> cells(4, -1);
        RadioGetBluetooth(&cells[0]);
        RadioGetWlan(&cells[1]);
        RadioGetPhone(&cells[2]);
        RadioGetFlightMode(&cells[3]);
        return cells;
    }
};

TEST_F(VendorLibrary, SetIsSeenByGetOnlyAfterTheRadioDelay)
{
    WriteStateDword(STATE_RADIO_DELAY, 400);
    int cell = 1;
    RadioGetWlan(&cell);
    EXPECT_EQ(0, cell);
    RadioSetWlan(1);
    RadioGetWlan(&cell);
    EXPECT_EQ(0, cell) << "a Get right after the Set still reports the old state";
    RealSleep(600);
    RadioGetWlan(&cell);
    EXPECT_EQ(1, cell);
}

TEST_F(VendorLibrary, FlightModeSilencesEveryRadioAndBringsThePhoneRadioBack)
{
    RadioSetBluetooth(1);
    RadioSetWlan(1);
    WriteMachineDword(GPRS_KEY, GPRS_VALUE, 1);
    EXPECT_EQ((std::vector<int>{1, 1, 1, 0}), Radios());

    RadioSetFlightMode(1);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1}), Radios());
    EXPECT_EQ(0u, ReadRegistryDword(L"\\System\\State\\Phone\\", L"Cellular System Connected"));

    RadioSetFlightMode(0);
    EXPECT_EQ((std::vector<int>{0, 0, 1, 0}), Radios()) << "only the phone radio comes back";
}

TEST_F(VendorLibrary, DataConnectionDropsWithThePhoneRadioAndOnDisconnect)
{
    struct Case {
        const char *what;
        void (*drop)();
    };
    const Case cases[] = {
        {"phone radio off", [] { RadioSetPhone(0); }},
        {"DisconnectAllGPRS", [] { RadioDisconnectAllGprs(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteMachineDword(GPRS_KEY, GPRS_VALUE, 1);
        c.drop();
        int phone = 0;
        RadioGetPhone(&phone); // lets the switch take effect
        EXPECT_EQ(0u, ReadRegistryDword(L"\\System\\State\\Phone\\", L"Cellular System Connected"));
        RadioSetPhone(1);
    }
}

TEST_F(VendorLibrary, EveryCallIsRecordedWithItsArgument)
{
    int cell = 0;
    RadioSetBluetooth(1);
    RadioGetBluetooth(&cell);
    RadioDisconnectAllGprs();
    DevicePowerOff();
    EXPECT_EQ((std::vector<std::wstring>{L"CommManager_SetBluetooth 1", L"CommManager_GetBluetooth -> 1",
                                         L"CommManager_DisconnectAllGPRS", L"HTCUtilDeviceOff"}),
              ReadStateList(LIST_CALLS));
}

// A stand-in power manager window: what reached it through HTCUtil.dll or SetSystemPowerState.
struct PowerRequest {
    WPARAM flags;
    LPARAM options;
};
std::vector<PowerRequest> s_powerRequests;

LRESULT CALLBACK PowerManagerProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != PHONE_MSG_POWER)
        return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    s_powerRequests.push_back({wParam, lParam});
    return ERROR_SUCCESS;
}

TEST_F(VendorLibrary, PowerRequestsReachThePowerManager)
{
    DevicePowerOff();
    EXPECT_EQ(std::vector<std::wstring>{L"off"}, ReadStateList(LIST_POWER)) << "no power manager: recorded alone";

    WNDCLASSW wc = {};
    wc.lpfnWndProc = PowerManagerProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = PHONE_POWER_CLASS;
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, PHONE_POWER_CLASS, L"", WS_POPUP, 0, 0, 0, 0, NULL, NULL, wc.hInstance, NULL);
    ASSERT_TRUE(hwnd);
    s_powerRequests.clear();
    DevicePowerOff();
    EXPECT_EQ(0u, SetSystemPowerState(NULL, POWER_STATE_RESET, POWER_FORCE));
    EXPECT_EQ((DWORD)ERROR_NOT_SUPPORTED, SetSystemPowerState(L"suspend", POWER_STATE_SUSPEND, 0));
    DestroyWindow(hwnd);
    UnregisterClassW(PHONE_POWER_CLASS, wc.hInstance);

    ASSERT_EQ(2u, s_powerRequests.size());
    EXPECT_EQ((WPARAM)POWER_STATE_OFF, s_powerRequests[0].flags);
    EXPECT_EQ((WPARAM)POWER_STATE_RESET, s_powerRequests[1].flags);
    EXPECT_EQ((LPARAM)POWER_FORCE, s_powerRequests[1].options);
}

} // namespace
