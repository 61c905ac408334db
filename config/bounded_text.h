// Bounded copies into the program's fixed-capacity texts: a text that does not fit is cut, never overflowed.
#pragma once
#include <stddef.h>
#include <wchar.h>

// Copies src into dst of capacity characters (terminator included), cut to fit; a null src gives "".
// Returns dst.
wchar_t *CopyText(wchar_t *dst, size_t capacity, const wchar_t *src);

// Appends src to the text in dst, cut to the capacity. Returns dst.
wchar_t *AppendText(wchar_t *dst, size_t capacity, const wchar_t *src);

// Copies into a fixed array, with its capacity taken from the array's type.
template <size_t N> wchar_t *CopyText(wchar_t (&dst)[N], const wchar_t *src)
{
    return CopyText(dst, N, src);
}

template <size_t N> wchar_t *AppendText(wchar_t (&dst)[N], const wchar_t *src)
{
    return AppendText(dst, N, src);
}
