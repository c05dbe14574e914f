// A read-only library packed-file handle over bytes already in memory, so
// that a map held in memory goes through the very same reading code as a
// map file.
#pragma once

#include <cstddef>

struct PACKFILE;

// The bytes must outlive the handle; pack_fclose releases the handle.
PACKFILE* openMemoryFile(const void* data, std::size_t size);
