// odctool's command line and console on Windows, where both would otherwise
// pass through the ANSI code page and lose every character of a path that
// the code page lacks. Paths stay UTF-8 inside the tool.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace odc {
namespace tool {

// How many of `size` bytes can be converted now: all of them, except a
// UTF-8 sequence cut off at the end, whose last bytes are still to come.
// Bytes that are not UTF-8 are not held back (the conversion marks them).
size_t WholeUtf8Prefix(const char* data, size_t size);

#ifdef _WIN32
// The program's arguments as UTF-8, from the UTF-16 command line.
std::vector<std::string> CommandLineArguments();

// Standard output and standard error that are consoles get a writer that
// turns the tool's UTF-8 into UTF-16 for the console; redirected ones keep
// the raw bytes. Call RestoreStandardStreams before the end.
void UseUnicodeConsole();
void RestoreStandardStreams();
#endif

}  // namespace tool
}  // namespace odc
