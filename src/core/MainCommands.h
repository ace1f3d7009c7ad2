#pragma once
// The main window's commands: what each menu item and toolbar button opens, the toolbar's
// keys and tool tips, and the device list's entries.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrum {

// One per window that the menus and the toolbar open.
enum class Command {
    Save,
    Log,
    RegMap,
    Graph,
    Limits,
    EasySetup,
    FanConfig,
    GenConfig,
    PinConfig,
    Voltage,
    THERM,
    GPIO,
    EDO,
    AutoControl,
    DynTmin,
    ManualControl,
    Heaters,
    Switches,
    About,
};
inline constexpr size_t kCommandCount = static_cast<size_t>(Command::About) + 1;

struct ToolbarButton {
    const char* key;
    const char* toolTip;
    Command command;
};

// Left to right; button n shows toolbar icon n.
inline constexpr std::array<ToolbarButton, 10> kToolbarButtons{{
    {"Save", "Save/Recall Configuration", Command::Save},
    {"FanConfig", "Fan Configuration", Command::FanConfig},
    {"Graphs", "Graphs", Command::Graph},
    {"RegMap", "Register Map", Command::RegMap},
    {"Switches", "On-board Switches", Command::Switches},
    {"GeneralConfig", "General Configuration", Command::GenConfig},
    {"GPIO", "GPIO", Command::GPIO},
    {"Heaters", "Heaters", Command::Heaters},
    {"AutoControl", "Automatic Fan Control", Command::AutoControl},
    {"Alerts", "Limits/Interrupts", Command::Limits},
}};

// The command of the first button whose key matches exactly; nothing for any other key.
std::optional<Command> ToolbarCommand(std::string_view key);

// A device-list entry: the address in hex, then "h on USB" or "h on SMBus".
std::string DeviceEntry(int32_t address, int16_t interfaceType);

// Selects the chip of a device-list entry: gDeviceAddress from its leading hex digits,
// gInterfaceType from "USB", then "SMBus", in the text.
void SelectDevice(std::string_view entry);

}  // namespace kestrum
