// Reads a data file whole, refusing what no mesh or texture could be: a path
// that is not a regular file (a FIFO, a link to a device) is refused before
// any read, and so is a file larger than the cap.
#pragma once

#include <cstddef>
#include <string>

// The largest mesh or texture file this library reads.
constexpr std::size_t kD3DXMaxFileBytes = std::size_t{64} << 20;

// Reads the file at path (UTF-8) into *bytes. On failure returns false and
// sets *error to a short reason without the path ("not a regular file").
bool D3DXReadFile(const std::string& path, std::size_t maxBytes, std::string* bytes, std::string* error);
