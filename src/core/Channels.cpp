#include "core/Channels.h"

#include "core/Conversions.h"

namespace kestrum {

PwmSource PwmSourceOf(int32_t pwmConfig) {
    return static_cast<PwmSource>(FieldOf(pwmConfig, kPwmSourceLowBit, kPwmSourceWidth));
}

bool FollowedChannels::Includes(TempChannel channel) const {
    for (int i = 0; i < count; ++i)
        if (channels[i] == channel) return true;
    return false;
}

FollowedChannels ChannelsFollowed(PwmSource source) {
    using enum TempChannel;
    switch (source) {
        case PwmSource::Local: return {1, {Local}};
        case PwmSource::Remote1: return {1, {Remote1}};
        case PwmSource::Remote2: return {1, {Remote2}};
        case PwmSource::Remote3: return {1, {Remote3}};
        case PwmSource::MaxOfLocalRemote3: return {2, {Local, Remote3}};
        case PwmSource::MaxOfFour: return {4, {Local, Remote1, Remote2, Remote3}};
        case PwmSource::Off:
        case PwmSource::Manual: break;
    }
    return {};
}

}  // namespace kestrum
