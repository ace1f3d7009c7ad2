#include "core/MainCommands.h"

#include "core/Conversions.h"
#include "core/USBStuff.h"

namespace kestrum {

std::optional<Command> ToolbarCommand(std::string_view key) {
    for (const ToolbarButton& button : kToolbarButtons)
        if (key == button.key) return button.command;
    return std::nullopt;
}

std::string DeviceEntry(int32_t address, int16_t interfaceType) {
    return Hex(address) + (interfaceType == kInterfaceSmbus ? "h on SMBus" : "h on USB");
}

void SelectDevice(std::string_view entry) {
    gDeviceAddress = LeadingHex(entry);
    if (entry.find("USB") != std::string_view::npos) gInterfaceType = kInterfaceUsb;
    if (entry.find("SMBus") != std::string_view::npos) gInterfaceType = kInterfaceSmbus;
}

}  // namespace kestrum
