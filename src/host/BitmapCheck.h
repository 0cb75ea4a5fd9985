#pragma once
#include <cstdint>
#include <optional>
#include <span>

// What a Windows bitmap's headers promise, held against the bytes that are there, before a
// decoder trusts them. A decoder shown such a file anyway paints whatever the bytes happen to
// be: pixels read as colours, colours read as pixels, missing rows in black.

// False when the bytes are a Windows bitmap that cannot be shown as it is: its pixels start
// inside its headers, its colour table is missing or shorter than it says, an uncompressed one
// lacks rows or declares a whole row more pixel data than its rows take (a wrong bit count), or its
// run-length data ends before its rows do. True for anything else, which is the decoder's to judge.
bool WholeBitmap(std::span<const uint8_t> bytes);

// How many colours a palette bitmap's table holds: an index at or past this is no colour of the
// file's. Nothing when the picture looks up no table.
std::optional<int> ColourTableEntries(std::span<const uint8_t> bytes);
