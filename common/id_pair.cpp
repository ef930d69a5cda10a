#include "common/id_pair.h"

#include "common/format.h"

bool FormatIdPairPattern(char *output, unsigned capacity, const char *format, const char *product,
                         const char *vendor) {
    return FormatText(output, capacity, format, vendor, product);
}
