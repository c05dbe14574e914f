// The demo reader on arbitrary bytes: it must never crash, hang or ask for
// memory a file cannot justify, and a file it accepts must be exactly what
// writing the demo back gives.
#include "level/demo_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Demo demo;
    std::string error;
    if (decodeDemo(bytes, demo, error) && encodeDemo(demo) != bytes) {
        std::abort();
    }
    return 0;
}
