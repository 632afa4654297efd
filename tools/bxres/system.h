// The standard output written byte for byte: on Windows it starts in text mode, which would
// write every line feed as CR LF.
#pragma once

namespace bxres {
void UseBinaryOutput();
}  // namespace bxres
