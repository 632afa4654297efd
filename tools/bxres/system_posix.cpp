#include "binary_output.h"

void bxres::UseBinaryOutput() {}  // no text mode: output is already byte for byte
