// What the dynamic loader would trip over before it is asked: a module
// binary cut short, empty, a folder, or built for another machine. dlopen
// maps a binary's segments as its headers say; a segment past the end of a
// truncated file faults (SIGBUS) inside the loader, so such files are
// refused before dlopen ever sees them.
#pragma once

#include <string>

namespace aaxhost
{
// Empty when path is a regular file holding a 64-bit little-endian x86-64
// ELF shared object whose ELF header, program headers, loaded segments,
// dynamic section and section headers all lie within the file; otherwise
// what is wrong, without the path ("is empty", "cut short: ..."). [any]
std::string CheckElfModule(const std::string& path);
} // namespace aaxhost
