// What the fuzz targets share: a check that stops the run when a property is broken, and a
// reader that turns a fuzzer's bytes into choices.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

// A broken property is a finding: say which, and let libFuzzer keep the input.
inline void Require(bool condition, const char *what) {
    if (!condition) {
        fprintf(stderr, "property broken: %s\n", what);
        abort();
    }
}

// Gives the input's bytes one at a time, and zeros once it runs out.
class ByteReader {
  public:
    ByteReader(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return used_ >= size_; }
    uint8_t Byte() { return used_ < size_ ? data_[used_++] : 0; }
    // Up to `length` raw bytes.
    std::string Bytes(size_t length) {
        std::string bytes;
        while (bytes.size() < length && !Empty())
            bytes += static_cast<char>(Byte());
        return bytes;
    }

  private:
    const uint8_t *data_;
    size_t size_;
    size_t used_ = 0;
};
