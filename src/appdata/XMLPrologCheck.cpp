#include "appdata/XMLPrologCheck.h"

#include <cstdint>

namespace appdata {
namespace {

// The document as a sequence of code units of one width and byte order.
class Units {
public:
    Units(std::string_view bytes, size_t width, bool bigEndian, size_t start)
        : bytes_(bytes), width_(width), bigEndian_(bigEndian), position_(start) {}

    bool AtEnd() const noexcept { return position_ + width_ > bytes_.size(); }

    // The unit at offset units ahead, or 0 past the end.
    uint32_t Peek(size_t offset = 0) const noexcept {
        size_t at = position_ + offset * width_;
        if (at + width_ > bytes_.size())
            return 0;
        uint32_t unit = 0;
        for (size_t i = 0; i < width_; ++i) {
            auto byte = static_cast<uint8_t>(bytes_[at + (bigEndian_ ? i : width_ - 1 - i)]);
            unit = (unit << 8) | byte;
        }
        return unit;
    }

    bool LooksAt(std::string_view ascii) const noexcept {
        for (size_t i = 0; i < ascii.size(); ++i)
            if (Peek(i) != static_cast<uint8_t>(ascii[i]))
                return false;
        return true;
    }

    void Skip(size_t units) noexcept { position_ += units * width_; }

    // Moves past the next occurrence of ascii; false when there is none.
    bool SkipPast(std::string_view ascii) noexcept {
        while (!AtEnd()) {
            if (LooksAt(ascii)) {
                Skip(ascii.size());
                return true;
            }
            Skip(1);
        }
        return false;
    }

private:
    std::string_view bytes_;
    size_t width_;
    bool bigEndian_;
    size_t position_;
};

bool StartsWith(std::string_view bytes, std::string_view prefix) noexcept {
    return bytes.substr(0, prefix.size()) == prefix;
}

Units UnitsOf(std::string_view bytes) noexcept {
    using namespace std::string_view_literals;
    if (StartsWith(bytes, "\x00\x00\xFE\xFF"sv))
        return Units(bytes, 4, true, 4);
    if (StartsWith(bytes, "\xFF\xFE\x00\x00"sv))
        return Units(bytes, 4, false, 4);
    if (StartsWith(bytes, "\x00\x00\x00\x3C"sv))
        return Units(bytes, 4, true, 0);
    if (StartsWith(bytes, "\x3C\x00\x00\x00"sv))
        return Units(bytes, 4, false, 0);
    if (StartsWith(bytes, "\xFE\xFF"sv))
        return Units(bytes, 2, true, 2);
    if (StartsWith(bytes, "\xFF\xFE"sv))
        return Units(bytes, 2, false, 2);
    if (StartsWith(bytes, "\x00\x3C"sv))
        return Units(bytes, 2, true, 0);
    if (StartsWith(bytes, "\x3C\x00"sv))
        return Units(bytes, 2, false, 0);
    if (StartsWith(bytes, "\xEF\xBB\xBF"sv))
        return Units(bytes, 1, false, 3);
    return Units(bytes, 1, false, 0);
}

bool IsWhiteSpace(uint32_t unit) noexcept {
    return unit == ' ' || unit == '\t' || unit == '\r' || unit == '\n';
}

} // namespace

bool HasDocumentTypeDeclaration(std::string_view bytes) noexcept {
    Units units = UnitsOf(bytes);
    while (!units.AtEnd()) {
        if (IsWhiteSpace(units.Peek())) {
            units.Skip(1);
        } else if (units.LooksAt("<?")) {
            if (!units.SkipPast("?>"))
                return false;
        } else if (units.LooksAt("<!--")) {
            if (!units.SkipPast("-->"))
                return false;
        } else if (units.LooksAt("<!")) {
            return true;
        } else {
            return false; // the root element, or something the parser will refuse
        }
    }
    return false;
}

uint64_t MarkupCount(std::string_view bytes) noexcept {
    uint64_t count = 0;
    for (char byte : bytes)
        count += byte == '<' || byte == '=';
    return count;
}

} // namespace appdata
