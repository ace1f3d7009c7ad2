#pragma once
// The chip's channels as every window names them: the four temperature channels, and the
// control source of each PWM output (bits 7:5 of PWM Config 1-4, 0x21-0x24) with the
// temperature channels that each source follows.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrum {

// The temperature channels, in the order of their registers (0x88-0x8F, 0x5C-0x5F, ...).
enum class TempChannel { Local, Remote1, Remote2, Remote3 };
inline constexpr int kTempChannelCount = 4;
inline constexpr std::array<const char*, kTempChannelCount> kTempChannelNames{"Local", "Remote1", "Remote2",
                                                                              "Remote3"};
constexpr const char* TempChannelName(TempChannel channel) {
    return kTempChannelNames[static_cast<std::size_t>(channel)];
}

// The dynamic Tmin control moves the Tmin of these two channels.
inline constexpr std::array<TempChannel, 2> kDynamicTminChannels{TempChannel::Remote1, TempChannel::Remote2};
constexpr bool HasDynamicTmin(TempChannel channel) {
    return channel == kDynamicTminChannels[0] || channel == kDynamicTminChannels[1];
}

// PWM Config 1-4, one register per PWM output.
inline constexpr int32_t kPwmConfig1 = 0x21;
inline constexpr int kPwmOutputCount = 4;

// A PWM output's control source, as the field holds it, and the field.
enum class PwmSource { Local, Remote1, Remote2, Remote3, Off, MaxOfLocalRemote3, MaxOfFour, Manual };
inline constexpr int kPwmSourceLowBit = 5;
inline constexpr int kPwmSourceWidth = 3;
// Each source's caption, by its value.
inline constexpr std::array<const char*, 8> kPwmSourceCaptions{
    "Local",      "Remote1", "Remote2", "Remote3", "Off", "Max of Local/Remote3", "Max of 4 Channels",
    "Manual Mode"};

// The source a PWM Config byte selects.
PwmSource PwmSourceOf(int32_t pwmConfig);

// The channels a source follows, in order (the output runs for the hottest of them);
// Off and Manual Mode follow none.
struct FollowedChannels {
    int count = 0;
    std::array<TempChannel, kTempChannelCount> channels{};
    bool Includes(TempChannel channel) const;
};
FollowedChannels ChannelsFollowed(PwmSource source);

}  // namespace kestrum
