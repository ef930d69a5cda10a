// JoinPath and FormatText with arbitrary texts and output sizes: the result is the one a
// plain string join gives whenever it fits, empty otherwise, and nothing is written past the
// output or into the inputs.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "common/format.h"
#include "inf/inf_cleanup.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// A text of the input's bytes up to 0xFF or the end (a zero ends it early, as in C).
std::string Text(ByteReader &reader) {
    std::string text;
    for (uint8_t byte = reader.Byte(); byte != 0xFF && !reader.Empty(); byte = reader.Byte())
        text += static_cast<char>(byte);
    return text.substr(0, strlen(text.c_str()));
}

std::string ExpectedJoin(const std::string &base, const std::string &tail) {
    if (base.empty())
        return "";
    std::string joined = base;
    if (joined.back() != '\\')
        joined += '\\';
    return joined + (tail.empty() || tail[0] != '\\' ? tail : tail.substr(1));
}

std::string ExpectedFormat(const std::string &format, const std::string texts[2], bool *ok) {
    std::string result;
    unsigned next = 0;
    *ok = true;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            if (next == 2) {
                *ok = false;
                return "";
            }
            result += texts[next++];
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ByteReader reader(data, size);
    unsigned capacity = 4 + reader.Byte() + (reader.Byte() & 1u) * 256;
    std::string base = Text(reader);
    std::string tail = Text(reader);
    std::string format = Text(reader);
    char *output = static_cast<char *>(malloc(capacity));
    char *baseCopy = strdup(base.c_str());
    char *tailCopy = strdup(tail.c_str());

    std::string expected = ExpectedJoin(base, tail);
    bool fits = !expected.empty() && expected.size() < capacity;
    Require(JoinPath(baseCopy, tailCopy, output, capacity) == fits, "join answer");
    Require(strcmp(output, fits ? expected.c_str() : "") == 0, "join result");

    const std::string texts[2] = {base, tail};
    bool complete = false;
    expected = ExpectedFormat(format, texts, &complete);
    fits = complete && expected.size() < capacity;
    Require(FormatText(output, capacity, format.c_str(), baseCopy, tailCopy) == fits,
            "format answer");
    Require(strcmp(output, fits ? expected.c_str() : "") == 0, "format result");

    Require(base == baseCopy && tail == tailCopy, "inputs unchanged");
    free(output);
    free(baseCopy);
    free(tailCopy);
    return 0;
}
