// The bridge to the phone's vendor libraries: radio switching and state (CommManagerDll.dll) and power off
// (HTCUtil.dll). Each operation loads its library for the one call and releases it afterwards.
#pragma once

constexpr wchar_t kRadioLibrary[] = L"CommManagerDll.dll";
constexpr wchar_t kDeviceLibrary[] = L"HTCUtil.dll";

// Set operations: on = 1 switches the radio on, 0 off. The switch takes effect after a moment.
int RadioSetBluetooth(int on);
int RadioSetWlan(int on);
int RadioSetPhone(int on);
int RadioSetFlightMode(int on);

// Get operations: write the radio's state (0 = off, else on) into *cell; a missing library or export leaves it.
int RadioGetBluetooth(int *cell);
int RadioGetWlan(int *cell);
int RadioGetPhone(int *cell);
int RadioGetFlightMode(int *cell);

// Drops every GPRS data connection.
int RadioDisconnectAllGprs();

// Switches the device off.
int DevicePowerOff();

// Every operation returns its library's result slot: what the last successful export call of that library
// returned, -1 before any. A missing library shows the error box "Error: the library was not found!".
