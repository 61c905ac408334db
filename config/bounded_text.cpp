// Bounded copies into fixed-capacity texts.
#include "bounded_text.h"

wchar_t *CopyText(wchar_t *dst, size_t capacity, const wchar_t *src)
{
    if (!dst || capacity == 0)
        return dst;
    size_t i = 0;
    if (src)
        for (; i + 1 < capacity && src[i]; i++)
            dst[i] = src[i];
    dst[i] = L'\0';
    return dst;
}

wchar_t *AppendText(wchar_t *dst, size_t capacity, const wchar_t *src)
{
    if (!dst || capacity == 0)
        return dst;
    size_t used = 0;
    while (used + 1 < capacity && dst[used])
        used++;
    CopyText(dst + used, capacity - used, src);
    return dst;
}
