#pragma once

namespace tovarin {

// Called once at the start of each program, before it reads a document:
// from then on a large block (the draw table of a million draws is 8 MB) is
// placed where the system can back it with large pages. A program that
// opens a large document touches megabytes of fresh memory at once, and
// each small page of it costs a fault of its own; a large page costs one.
// A program that does not call it (a test) allocates as usual.
void PrepareProcessMemory();

}  // namespace tovarin
