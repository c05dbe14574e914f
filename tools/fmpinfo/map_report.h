// The fmpinfo reports of one map: the readable summary and the canonical
// dump that tests compare line by line. Each returns the exit status: 0 when
// the map loaded, 1 when it did not.
#pragma once

#include <cstdio>

int fmpinfoSummary(const char* fileName, std::FILE* out);
int fmpinfoDump(const char* fileName, std::FILE* out);

// What a loadError code means, as a sentence for people.
const char* loadErrorSentence(int code);
