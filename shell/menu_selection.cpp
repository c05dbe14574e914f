#include "shell/menu_selection.h"

int32_t nextEntry(int32_t selection, int32_t entryCount)
{
    const int32_t next = selection + 1;
    return next >= entryCount ? 0 : next;
}

int32_t previousEntry(int32_t selection, int32_t entryCount)
{
    const int32_t previous = selection - 1;
    return previous < 0 ? entryCount - 1 : previous;
}
