// The program's version, set once in the build (the CMake project) so that
// --version, the package and the demo files all say the same.
#pragma once

const char* gameVersion();
