#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "binary_output.h"

void bxres::UseBinaryOutput() { _setmode(_fileno(stdout), _O_BINARY); }
