// Moving the highlight of a menu: past the last entry it wraps to the first
// and before the first to the last.
#pragma once

#include <cstdint>

int32_t nextEntry(int32_t selection, int32_t entryCount);
int32_t previousEntry(int32_t selection, int32_t entryCount);
