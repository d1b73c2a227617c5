#pragma once
// A set of enumeration values stored as a bit word: bit n for ordinal n. This is the
// form sets take in data files; mappings to the platform's flag words are explicit.
#include <cstdint>
#include <initializer_list>

namespace gui {

template <typename Enum, typename Word = std::uint32_t>
class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<Enum> members) {
        for (Enum m : members)
            Include(m);
    }
    static constexpr EnumSet FromBits(Word bits) {
        EnumSet set;
        set.bits_ = bits;
        return set;
    }

    constexpr Word Bits() const { return bits_; }
    constexpr bool Contains(Enum m) const { return Valid(m) && (bits_ & Bit(m)) != 0; }
    // Ordinals beyond the word are ignored.
    constexpr void Include(Enum m) {
        if (Valid(m))
            bits_ |= Bit(m);
    }
    constexpr void Exclude(Enum m) {
        if (Valid(m))
            bits_ &= static_cast<Word>(~Bit(m));
    }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool operator==(const EnumSet&) const = default;
    constexpr EnumSet operator|(EnumSet other) const { return FromBits(bits_ | other.bits_); }
    constexpr EnumSet operator&(EnumSet other) const { return FromBits(bits_ & other.bits_); }

private:
    static constexpr bool Valid(Enum m) {
        return static_cast<unsigned>(m) < sizeof(Word) * 8;
    }
    static constexpr Word Bit(Enum m) { return static_cast<Word>(Word(1) << static_cast<unsigned>(m)); }
    Word bits_ = 0;
};

} // namespace gui
