#include "tilemap/memory_file.h"

#include <allegro.h>

#include <algorithm>
#include <cstring>

namespace {

struct MemoryFile {
    const unsigned char* data;
    std::size_t size;
    std::size_t position;
    int pushedBack;  // EOF when nothing was pushed back
};

MemoryFile* fileOf(void* userdata)
{
    return static_cast<MemoryFile*>(userdata);
}

int memoryClose(void* userdata)
{
    delete fileOf(userdata);
    return 0;
}

int memoryGetc(void* userdata)
{
    MemoryFile* file = fileOf(userdata);
    if (file->pushedBack != EOF) {
        const int c = file->pushedBack;
        file->pushedBack = EOF;
        return c;
    }
    if (file->position >= file->size) {
        return EOF;
    }
    return file->data[file->position++];
}

int memoryUngetc(int c, void* userdata)
{
    fileOf(userdata)->pushedBack = c;
    return c;
}

long memoryRead(void* p, long n, void* userdata)
{
    MemoryFile* file = fileOf(userdata);
    auto* out = static_cast<unsigned char*>(p);
    long done = 0;
    if (n > 0 && file->pushedBack != EOF) {
        out[done++] = static_cast<unsigned char>(memoryGetc(userdata));
    }
    const std::size_t wanted = static_cast<std::size_t>(n - done);
    const std::size_t count = std::min(wanted, file->size - file->position);
    std::memcpy(out + done, file->data + file->position, count);
    file->position += count;
    return done + static_cast<long>(count);
}

int memoryPutc(int, void*)
{
    return EOF;
}

long memoryWrite(const void*, long, void*)
{
    return 0;
}

int memorySeek(void* userdata, int offset)
{
    MemoryFile* file = fileOf(userdata);
    if (offset < 0 || static_cast<std::size_t>(offset) > file->size - file->position) {
        return -1;
    }
    file->position += static_cast<std::size_t>(offset);
    return 0;
}

int memoryEof(void* userdata)
{
    const MemoryFile* file = fileOf(userdata);
    return file->pushedBack == EOF && file->position >= file->size;
}

int memoryError(void*)
{
    return 0;
}

const PACKFILE_VTABLE memoryVtable = {
    memoryClose, memoryGetc, memoryUngetc, memoryRead, memoryPutc,
    memoryWrite, memorySeek, memoryEof, memoryError,
};

}  // namespace

PACKFILE* openMemoryFile(const void* data, std::size_t size)
{
    auto* file = new MemoryFile{static_cast<const unsigned char*>(data), size, 0, EOF};
    PACKFILE* handle = pack_fopen_vtable(&memoryVtable, file);
    if (!handle) {
        delete file;
    }
    return handle;
}
