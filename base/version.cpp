#include "base/version.h"

const char* gameVersion()
{
    return GLIM_VERSION;
}
