#include "common/text.h"

unsigned TextLength(const char *text) {
    unsigned length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

bool CopyText(char *output, unsigned capacity, const char *source) {
    if (capacity == 0)
        return false;
    unsigned length = TextLength(source);
    if (length >= capacity) {
        output[0] = '\0';
        return false;
    }
    for (unsigned i = 0; i <= length; ++i)
        output[i] = source[i];
    return true;
}

bool TextsEqual(const char *left, const char *right) {
    unsigned i = 0;
    while (left[i] == right[i]) {
        if (left[i] == '\0')
            return true;
        ++i;
    }
    return false;
}

char *FindInText(char *text, const char *wanted) {
    for (;; ++text) {
        unsigned i = 0;
        while (wanted[i] != '\0' && text[i] == wanted[i])
            ++i;
        if (wanted[i] == '\0')
            return text;
        if (*text == '\0')
            return nullptr;
    }
}
