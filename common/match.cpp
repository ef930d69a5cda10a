#include "common/match.h"

void LowerCaseInPlace(char *text) {
    for (; *text != '\0'; ++text)
        if (*text >= 'A' && *text <= 'Z')
            *text = static_cast<char>(*text + 0x20);
}

bool MatchesNoCase(char *pattern, char *text) {
    LowerCaseInPlace(pattern);
    LowerCaseInPlace(text);
    for (const char *start = text;; ++start) {
        unsigned i = 0;
        while (pattern[i] != '\0' && start[i] == pattern[i])
            ++i;
        if (pattern[i] == '\0')
            return true;
        if (*start == '\0')
            return false;
    }
}
