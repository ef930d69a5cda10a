// Formatted text: "%s" is the only placeholder. Each "%s" takes, in order, the whole of
// `first`, then of `second`; every other byte is copied as it stands.
#pragma once

// Fills `output` and answers true when the result with its terminator fits in `capacity`
// bytes. Otherwise, or when a placeholder has no text (null) left for it, `output` is left
// empty (when it has room for that) and the answer is false: a result is never cut short.
bool FormatText(char *output, unsigned capacity, const char *format, const char *first,
                const char *second);
