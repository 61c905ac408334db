// phonectl's commands that act on the phone as one of its programs would: call a vendor library's export, make
// a power or connection request through the platform layer, send a window message, start a program.
#pragma once

// call LIBRARY EXPORT [N|cell]: prints the export's answer, and the cell after it for "cell".
int CallExport(const wchar_t *library, const wchar_t *exportName, const wchar_t *argument);

// power FLAGS: SetSystemPowerState(NULL, FLAGS, POWER_FORCE); prints its answer.
int RequestPower(const wchar_t *flags);

// connect: ConnMgrEstablishConnectionSync to the Internet; prints the status in hex.
int RequestConnection();

// send CLASS|broadcast MESSAGE WPARAM: MESSAGE is a number or the name of a registered message.
int SendPhoneMessage(const wchar_t *className, const wchar_t *message, const wchar_t *wParam);

// start PROGRAM [PARAMETERS]: ShellExecuteEx "open" with the phone's root current; does not wait.
int StartProgram(const wchar_t *program, const wchar_t *parameters);
