// ID pairs: a product identifier and a vendor identifier, always passed product first.
// The patterns built from a pair name the vendor first.
#pragma once

// Fills `format` (two "%s": vendor, then product) into `output`; false when it would not fit.
bool FormatIdPairPattern(char *output, unsigned capacity, const char *format, const char *product,
                         const char *vendor);
