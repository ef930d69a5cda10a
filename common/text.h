// Byte-by-byte text helpers shared by the subsystems. No locale is ever consulted.
#pragma once

// Bytes before the first zero.
unsigned TextLength(const char *text);

// Copies `source` with its terminator into `output` when it fits in `capacity` bytes;
// otherwise leaves `output` empty (when it has room for that) and answers false.
bool CopyText(char *output, unsigned capacity, const char *source);

// Byte-for-byte equality up to and including the terminator.
bool TextsEqual(const char *left, const char *right);

// The first place in `text` where `wanted` stands, byte for byte, or null. An empty `wanted`
// stands at the start of every text.
char *FindInText(char *text, const char *wanted);
