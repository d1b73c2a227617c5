#pragma once
// A set of enumeration values held in an integer: the member with ordinal n is bit n.
// This is the form in which sets are stored in the data file; mappings to the
// platform's flag words are separate functions next to each enumeration.
#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace shellctrls {

template <typename E, typename Storage, int MemberCount> class EnumSet {
    static_assert(std::is_unsigned_v<Storage>);
    static_assert(MemberCount > 0 && MemberCount <= static_cast<int>(sizeof(Storage) * 8));

public:
    using Member = E;
    static constexpr int kMemberCount = MemberCount;
    // The bits that stand for members; every other bit is never set.
    static constexpr Storage kAllBits = MemberCount == static_cast<int>(sizeof(Storage) * 8)
                                            ? static_cast<Storage>(~Storage{0})
                                            : static_cast<Storage>((Storage{1} << MemberCount) - 1);

    constexpr EnumSet() noexcept = default;
    constexpr EnumSet(std::initializer_list<E> members) noexcept {
        for (E member : members)
            Include(member);
    }

    // The set of a stored value; bits that stand for no member are dropped, so a
    // damaged data file cannot produce a member that does not exist.
    static constexpr EnumSet FromBits(std::uint64_t bits) noexcept {
        EnumSet set;
        set.bits_ = static_cast<Storage>(bits & kAllBits);
        return set;
    }
    static constexpr EnumSet All() noexcept { return FromBits(kAllBits); }

    constexpr Storage Bits() const noexcept { return bits_; }
    constexpr bool Empty() const noexcept { return bits_ == 0; }
    constexpr bool Contains(E member) const noexcept {
        return IsMember(member) && (bits_ & Bit(member)) != 0;
    }
    constexpr EnumSet& Include(E member) noexcept {
        if (IsMember(member))
            bits_ = static_cast<Storage>(bits_ | Bit(member));
        return *this;
    }
    constexpr EnumSet& Exclude(E member) noexcept {
        if (IsMember(member))
            bits_ = static_cast<Storage>(bits_ & ~Bit(member));
        return *this;
    }

    friend constexpr bool operator==(EnumSet a, EnumSet b) noexcept { return a.bits_ == b.bits_; }
    friend constexpr EnumSet operator|(EnumSet a, EnumSet b) noexcept { return FromBits(a.bits_ | b.bits_); }
    friend constexpr EnumSet operator&(EnumSet a, EnumSet b) noexcept { return FromBits(a.bits_ & b.bits_); }

private:
    static constexpr bool IsMember(E member) noexcept {
        auto ordinal = static_cast<int>(member);
        return ordinal >= 0 && ordinal < MemberCount;
    }
    static constexpr Storage Bit(E member) noexcept {
        return static_cast<Storage>(Storage{1} << static_cast<int>(member));
    }

    Storage bits_ = 0;
};

} // namespace shellctrls
