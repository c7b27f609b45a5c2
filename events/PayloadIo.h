// Reading and writing payload fields, little-endian and without padding. A record describes
// its layout once, in a Fields(io) member template, and the same description serves both
// directions: PayloadReader fills the record from bytes, PayloadWriter appends its bytes.
// The reader never reads past its span; the first short read makes it fail and stay failed.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace pv::events {

struct Point {
    int32_t x = 0, y = 0;
    bool operator==(const Point &) const = default;
};

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
    bool operator==(const Rect &) const = default;
};

// Bytes of a `text n` field holding a string of `length` bytes: length + 2 rounded down to
// even, so at least one NUL always follows the string.
constexpr uint32_t TextFieldSize(size_t length) { return static_cast<uint32_t>((length + 2) & ~size_t{1}); }

class PayloadReader {
public:
    static constexpr bool kWriting = false;

    explicit PayloadReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    void Fail() { ok_ = false; }
    size_t position() const { return pos_; }
    size_t remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }

    void operator()(uint8_t &v) { Raw(&v, 1); }
    void operator()(uint16_t &v) { v = static_cast<uint16_t>(Le(2)); }
    void operator()(int16_t &v) { v = static_cast<int16_t>(Le(2)); }
    void operator()(uint32_t &v) { v = static_cast<uint32_t>(Le(4)); }
    void operator()(int32_t &v) { v = static_cast<int32_t>(Le(4)); }
    void operator()(float &v)
    {
        const uint32_t bits = static_cast<uint32_t>(Le(4));
        std::memcpy(&v, &bits, 4);
    }
    void operator()(Point &p) { (*this)(p.x), (*this)(p.y); }
    void operator()(Rect &r) { (*this)(r.left), (*this)(r.top), (*this)(r.right), (*this)(r.bottom); }
    template <size_t N>
    void operator()(uint8_t (&a)[N]) { Raw(a, N); }

    // The low three bytes of a colour value, lowest first; the value's top byte becomes 0.
    void Colour3(uint32_t &v) { v = static_cast<uint32_t>(Le(3)); }
    // Bytes written as 0 and ignored on reading.
    void Zero(size_t n) { Skip(n); }
    // n bytes into a vector.
    void Bytes(std::vector<uint8_t> &v, uint64_t n)
    {
        if (!Have(n))
            return;
        v.assign(bytes_.begin() + pos_, bytes_.begin() + pos_ + n);
        pos_ += n;
    }
    // A `text n` field: the string up to its first NUL, never past the n bytes.
    void Text(std::string &s, uint64_t n);
    // A fixed-size text field, not necessarily NUL-terminated.
    void FixedText(std::string &s, size_t n, bool = false) { Text(s, n); }
    // A uint16 byte count followed by that `text n` field.
    void CountedText16(std::string &s)
    {
        uint16_t n = 0;
        (*this)(n);
        Text(s, n);
    }
    void Skip(uint64_t n)
    {
        if (Have(n))
            pos_ += n;
    }

private:
    bool Have(uint64_t n)
    {
        if (ok_ && bytes_.size() - pos_ < n)
            ok_ = false;
        return ok_;
    }
    void Raw(void *dst, size_t n)
    {
        if (Have(n)) {
            std::memcpy(dst, bytes_.data() + pos_, n);
            pos_ += n;
        } else {
            std::memset(dst, 0, n);
        }
    }
    uint64_t Le(size_t n)
    {
        uint64_t v = 0;
        if (!Have(n))
            return 0;
        for (size_t i = 0; i < n; ++i)
            v |= static_cast<uint64_t>(bytes_[pos_ + i]) << (8 * i);
        pos_ += n;
        return v;
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

class PayloadWriter {
public:
    static constexpr bool kWriting = true;

    explicit PayloadWriter(std::vector<uint8_t> &out) : out_(out), start_(out.size()) {}

    bool ok() const { return ok_; }
    void Fail() { ok_ = false; }
    size_t position() const { return out_.size() - start_; }

    void operator()(const uint8_t &v) { out_.push_back(v); }
    void operator()(const uint16_t &v) { Le(v, 2); }
    void operator()(const int16_t &v) { Le(static_cast<uint16_t>(v), 2); }
    void operator()(const uint32_t &v) { Le(v, 4); }
    void operator()(const int32_t &v) { Le(static_cast<uint32_t>(v), 4); }
    void operator()(const float &v)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        Le(bits, 4);
    }
    void operator()(const Point &p) { (*this)(p.x), (*this)(p.y); }
    void operator()(const Rect &r) { (*this)(r.left), (*this)(r.top), (*this)(r.right), (*this)(r.bottom); }
    template <size_t N>
    void operator()(const uint8_t (&a)[N]) { out_.insert(out_.end(), a, a + N); }

    void Colour3(const uint32_t &v) { Le(v & 0xFFFFFF, 3); }
    void Zero(size_t n) { out_.insert(out_.end(), n, 0); }
    void Bytes(const std::vector<uint8_t> &v, uint64_t n)
    {
        if (n != v.size()) {
            ok_ = false;
            return;
        }
        out_.insert(out_.end(), v.begin(), v.end());
    }
    // A `text n` field of exactly n bytes; a string that does not fit with its NUL fails.
    void Text(const std::string &s, uint64_t n);
    // A fixed-size field: the encoded string cut to n bytes (n - 1 when a NUL must end it),
    // never inside a two-byte character, and padded with NULs.
    void FixedText(const std::string &s, size_t n, bool nulTerminated = false);
    void CountedText16(const std::string &s);
    void Skip(uint64_t n) { Zero(n); }

private:
    void Le(uint64_t v, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }

    std::vector<uint8_t> &out_;
    size_t start_;
    bool ok_ = true;
};

} // namespace pv::events
