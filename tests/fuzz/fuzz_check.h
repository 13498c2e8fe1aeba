// What the fuzz targets share: a check that stops the run with the reason,
// and the input read as a few choices followed by data.
#ifndef ZEPHLO_TESTS_FUZZ_FUZZ_CHECK_H
#define ZEPHLO_TESTS_FUZZ_FUZZ_CHECK_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Reads the input front to back.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The next byte, 0 once the input is used up.
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // The rest of the input.
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(data_ + at_), size_ - at_);
        at_ = size_;
        return rest;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// The bytes as UTF-16 units, two bytes each, low byte first (a last odd byte
// left out); with stopAtNul, only the units before the first NUL.
inline std::wstring Utf16Units(const std::string& bytes, bool stopAtNul) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                               static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (stopAtNul && unit == L'\0') {
            break;
        }
        text += unit;
    }
    return text;
}

#endif
