#include "common/match.h"

#include "common/text.h"

void LowerCaseInPlace(char *text) {
    for (; *text != '\0'; ++text)
        if (*text >= 'A' && *text <= 'Z')
            *text = static_cast<char>(*text + 0x20);
}

bool MatchesNoCase(char *pattern, char *text) {
    LowerCaseInPlace(pattern);
    LowerCaseInPlace(text);
    return FindInText(text, pattern) != nullptr;
}
