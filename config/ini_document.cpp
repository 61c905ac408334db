// Loading and crash-safe saving of the ini documents.
#include <windows.h>

#include <stdio.h>
#include <wince.h>

#include <string>

#include "ini_document.h"

namespace
{

bool WriteWholeFile(const wchar_t *path, const std::string &bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL) && written == bytes.size();
    ok = FlushFileBuffers(file) && ok;
    CloseHandle(file);
    return ok;
}

} // namespace

bool ReadWholeFile(const wchar_t *path, std::string &bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // A failure answers INVALID_FILE_SIZE, which the size limit refuses too.
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file, &sizeHigh);
    bool ok = sizeHigh == 0 && size < 0x40000000;
    if (ok) {
        bytes.resize(size);
        DWORD got = 0;
        ok = bytes.empty() || (ReadFile(file, &bytes[0], (DWORD)bytes.size(), &got, NULL) && got == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

bool ReplaceWithFile(const wchar_t *path, const wchar_t *source)
{
    // The phone's file calls have no replacing move: DeleteAndRenameFile replaces a file that exists, MoveFile
    // makes one that does not.
    if (DeleteAndRenameFile(path, source))
        return true;
    return GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES && MoveFileW(source, path);
}

SI_Error IniDocument::LoadFile(const wchar_t *path)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return SI_FILE;
    // The library would skip a UTF-8 mark and switch the document to UTF-8. On the phone the mark is three
    // ANSI characters at the start of the first line; an empty line in front keeps them there.
    if (bytes.compare(0, 3, SI_UTF8_SIGNATURE) == 0)
        bytes.insert(0, "\r\n");
    return LoadData(bytes.data(), bytes.size());
}

SI_Error IniDocument::SaveFile(const wchar_t *path, bool addSignature)
{
    std::string bytes;
    SI_Error rc = Save(bytes, addSignature);
    if (rc < 0)
        return rc;
    std::wstring temporary = std::wstring(path) + L".tmp";
    if (!WriteWholeFile(temporary.c_str(), bytes) || !ReplaceWithFile(path, temporary.c_str())) {
        DeleteFileW(temporary.c_str());
        return SI_FILE;
    }
    return SI_OK;
}
