// The ini documents: SimpleIni's wide-character document over the phone's ANSI code page.
// Names compare without regard to case for A to Z only; files are read and written in CP_ACP with "\r\n".
#pragma once
#define SI_CONVERT_WIN32
#define SI_NO_MBCS
#ifndef SI_IMPLEMENTATION
#define SI_IMPLEMENTATION
#endif
#include <SimpleIni.h>

#include <string>

// Reads a whole file into bytes; false when it cannot be opened or read in full.
bool ReadWholeFile(const wchar_t *path, std::string &bytes);

// Puts the file source in the place of path and removes source: an existing path has its contents replaced in
// one step, so it holds either its old or its new contents at any moment; a missing one is made by renaming
// source. False when neither could be done.
bool ReplaceWithFile(const wchar_t *path, const wchar_t *source);

// A CSimpleIniW with UTF-8 storage, repeated keys and multi-line values off, whose file operations keep the
// phone's rules: every file is ANSI text, and a save never leaves a half-written file behind.
class IniDocument : public CSimpleIniW
{
public:
    IniDocument() : CSimpleIniW(false, false, false) {}

    // Loads path into the document (merging). A UTF-8 byte-order mark is not taken as a switch to UTF-8: its
    // bytes are read as ANSI characters in front of the first line. Returns SI_OK or a negative code.
    SI_Error LoadFile(const wchar_t *path);

    // Saves the document to path crash-safely: the bytes go to path + ".tmp" first, which then replaces path in
    // one step, so path always holds either the old or the new complete file. With UTF-8 storage off no
    // signature is written whatever addSignature says. Returns SI_OK or a negative code.
    SI_Error SaveFile(const wchar_t *path, bool addSignature = true);
};
