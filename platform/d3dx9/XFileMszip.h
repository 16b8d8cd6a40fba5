// Unpacks the body of a compressed .x file (`tzip`, `bzip`). After the
// 16-byte header comes the size of the whole unpacked file (header included)
// as a 32-bit little-endian count, then blocks of at most 32 KB of output,
// each: its unpacked size (16 bits), its packed size (16 bits), "CK", and a
// raw deflate stream. Each block may refer back into the output of the
// blocks before it, as MSZIP allows, so each is inflated with the last 32 KB
// unpacked so far as its dictionary.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Unpacks packed (what follows the header) into *body, which then holds
// what a text or binary file would hold after its header. Refuses a declared
// size above maxBytes before inflating anything, and output that does not
// match the declared size. On failure sets *error to a one-line reason.
bool XFileInflateMszip(std::string_view packed, std::size_t maxBytes, std::string* body, std::string* error);
