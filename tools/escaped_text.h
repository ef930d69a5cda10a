// Text made fit for one line of a tool's output: a backslash, CR, LF and every other control
// byte become an escape (\\, \r, \n, \xHH), so that a script can still compare the exact text.
#pragma once

#include <string>

std::string EscapedText(const std::string &text);
