// Folder listings as the phone gives them: desktop listings add "." and ".." for the folder itself and its
// parent, which are never real entries of the phone's file system.
#pragma once
#include <wchar.h>

// True for the "." and ".." entries of a desktop folder listing.
inline bool IsSelfOrParentEntry(const wchar_t *name)
{
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}
