#include "support/ByteIo.h"

#include <cstring>

bool ByteReader::Take(std::size_t count) {
    if (!ok_ || count > Remaining()) {
        ok_ = false;
        return false;
    }
    return true;
}

std::uint8_t ByteReader::U8() {
    if (!Take(1)) return 0;
    return bytes_[pos_++];
}

std::uint16_t ByteReader::U16() {
    if (!Take(2)) return 0;
    const std::uint16_t v = LoadU16(bytes_.data() + pos_);
    pos_ += 2;
    return v;
}

std::uint32_t ByteReader::U32() {
    if (!Take(4)) return 0;
    const std::uint32_t v = LoadU32(bytes_.data() + pos_);
    pos_ += 4;
    return v;
}

void ByteReader::Bytes(std::uint8_t* out, std::size_t count) {
    if (!Take(count)) {
        std::memset(out, 0, count);
        return;
    }
    std::memcpy(out, bytes_.data() + pos_, count);
    pos_ += count;
}

void ByteReader::Skip(std::size_t count) {
    if (Take(count)) pos_ += count;
}

void ByteWriter::U16(std::uint16_t v) {
    out_.push_back(static_cast<std::uint8_t>(v));
    out_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::U32(std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out_.push_back(static_cast<std::uint8_t>(v >> shift));
}

void ByteWriter::Bytes(const std::uint8_t* data, std::size_t count) {
    out_.insert(out_.end(), data, data + count);
}
