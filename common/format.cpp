#include "common/format.h"

bool FormatText(char *output, unsigned capacity, const char *format, const char *first,
                const char *second) {
    if (capacity == 0)
        return false;
    const char *texts[2] = {first, second};
    unsigned used = 0;
    unsigned nextText = 0;
    for (const char *f = format; *f != '\0'; ++f) {
        const char *piece = f;
        unsigned pieceLength = 1;
        if (f[0] == '%' && f[1] == 's') {
            if (nextText == 2 || texts[nextText] == nullptr) {
                output[0] = '\0';
                return false;
            }
            piece = texts[nextText++];
            pieceLength = 0;
            while (piece[pieceLength] != '\0')
                ++pieceLength;
            ++f;
        }
        // Keep one byte for the terminator.
        if (pieceLength >= capacity - used) {
            output[0] = '\0';
            return false;
        }
        for (unsigned i = 0; i < pieceLength; ++i)
            output[used++] = piece[i];
    }
    output[used] = '\0';
    return true;
}
