// Turns a fuzzer's bytes into choices, giving zeros once the input runs out.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

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
