#include "escaped_text.h"

#include <cstdio>

std::string EscapedText(const std::string &text) {
    std::string escaped;
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (byte < 0x20 || byte == 0x7f) {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}
