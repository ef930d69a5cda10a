// The one matching rule of the hook.
#pragma once

// Adds 0x20 to every byte from 'A' to 'Z' up to the first zero; every other byte stays.
void LowerCaseInPlace(char *text);

// Lower-cases `pattern`, then `text`, in place; answers whether the pattern occurs in the
// text at any position. An empty pattern matches every text.
bool MatchesNoCase(char *pattern, char *text);
