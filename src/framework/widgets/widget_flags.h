// Widget flags, flag modifiers and the modal flags that every tree traversal carries down: they
// decide per widget whether it updates, draws, clips, and takes mouse and keyboard input.
#pragma once

namespace Tuvo {

inline constexpr int FlagUpdate = 1;
inline constexpr int FlagMarkDirty = 2;
inline constexpr int FlagDraw = 4;
inline constexpr int FlagClip = 8;
inline constexpr int FlagAllowMouse = 16;
inline constexpr int FlagAllowFocus = 32;

// A pair (add, remove) applied to a flag set as (flags | add) & ~remove.
struct FlagsModifier {
    int addFlags = 0;
    int removeFlags = 0;

    constexpr int Apply(int flags) const { return (flags | addFlags) & ~removeFlags; }
    constexpr bool operator==(const FlagsModifier& other) const = default;
};

// The flags in force above and below the base modal widget. Widgets at or after the base modal
// widget (is-over) see the over flags; widgets beneath it see the under flags.
struct ModalFlags {
    int overFlags = 0;
    int underFlags = 0;
    bool isOver = false;

    constexpr int GetFlags() const { return isOver ? overFlags : underFlags; }
    constexpr void Apply(const FlagsModifier& modifier) {
        overFlags = modifier.Apply(overFlags);
        underFlags = modifier.Apply(underFlags);
    }
};

}  // namespace Tuvo
