#include "platform/RegisterData.h"

namespace kestrum {

// Records 0-158 are the primary names in address order; 159-175 are the second names
// of addresses whose meaning follows the pin configuration (0x50 last, out of order).
// clang-format off
const std::array<RegisterRecord, kRegisterCount> kRegisterRecords = {{
    {0x00, "Configuration 0", "SWR:6:5:4:3:2:1:0", 0x20, false},  // 0
    {0x01, "Configuration 1", "RDY:LCK:TOD:DFS:ALT:AVGT:AVGV:MON", 0x01, false},  // 1
    {0x02, "Configuration 2", "#FP:#FP:FFS:VB2:VB1:HF:Shdn:Fst", 0x80, false},  // 2
    {0x03, "Configuration 3", "Res:Res:Cl_r:SF:S4:S3:S2:S1", 0x00, false},  // 3
    {0x07, "Tach Enable", "T8E:T7E:T6E:T5E:T4E:T3E:T2E:T1E", 0x00, false},  // 4
    {0x08, "Tach Configuration", "T1E:T2E:T3E:T4E:T5E:T6E:T7E:T8E", 0x0F, false},  // 5
    {0x09, "GPIO1_Bhvr", "D4:P4:D3:P3:D2:P2:D1:P1", 0x00, false},  // 6
    {0x0A, "GPIO2_Bhvr", "D8:P8:D7:P7:D6:P6:D5:P5", 0x00, false},  // 7
    {0x0B, "Tmin_Cal1", "Res:Res:P1R1:P1R2:P2R1:P2R2:R1:R2", 0x00, false},  // 8
    {0x0C, "Tmin_Cal2", "Res:Ver:CYR2:CYR2:CYR2:CYR1:CYR1:CYR1", 0x40, false},  // 9
    {0x0D, "THERM Configuration", "TW2:TW2:TW2:TW1:TW1:TW1:B2:B1", 0x00, false},  // 10
    {0x0E, "Conf_Therm1", "Res:Res:Res:R3:R2:R1:Lcl:T1TE", 0x1F, false},  // 11
    {0x0F, "Conf_Therm2", "Res:Res:Res:R3:R2:R1:Lcl:T2E", 0x1F, false},  // 12
    {0x10, "Pin Config 1", "VID:D1:D3:P1:P2:P3:P4:P7", 0x7F, false},  // 13
    {0x11, "Pin Config 2", "P8:P13:P15:P20:P21:P22:P23:P23", 0xCE, false},  // 14
    {0x12, "Pin Config 3", "P24:P24:P25:P25:P26:P26:P27:Res", 0x42, false},  // 15
    {0x13, "Pin Config 4", "P28:P28:P29:P29:P31:P32:Res:Res", 0xFC, false},  // 16
    {0x14, "Easy Config", "Res:Res:Res:Op5:Op4:Op3:Op2:Op1", 0x01, false},  // 17
    {0x16, "EDO Enable", "CS:CS:CS:CS:CS:SC:EDO2:EDO1", 0x00, false},  // 18
    {0x18, "Attenuators 1 En", "P22:P21:P19:P15:P13:P9:P7:P5", 0xFF, false},  // 19
    {0x19, "Attenuators 2 En", "Res:Res:P29:P28:P26:P25:P24:P23", 0x37, false},  // 20
    {0x1A, "Enhance Acoustics 1", "RR2:RR2:RR2:RR1:RR1:RR1:En2:En1", 0x00, false},  // 21
    {0x1B, "Enhance Acoustics 2", "RR4:RR4:RR4:RR3:RR3:RR3:En3:En3", 0x00, false},  // 22
    {0x1C, "Free Wheel Test", "Fn8:Fn7:Fn6:Fn5:Fn4:Fn3:Fn2:Fn1", 0x00, false},  // 23
    {0x1D, "Fans Present", "F8P:F7P:F6P:F5P:F4P:F3P:F2P:F1P", 0x00, false},  // 24
    {0x1E, "Free Wheel Test En", "Fn8:Fn7:Fn6:Fn5:Fn4:Fn3:Fn2:Fn1", 0x00, false},  // 25
    {0x21, "PWM1 Config", "Bhvr:Bhvr:Bhvr:Inv:Slow:Spin:Spin:Spin", 0x11, false},  // 26
    {0x22, "PWM2 Config", "Bhvr:Bhvr:Bhvr:Inv:Slow:Spin:Spin:Spin", 0x31, false},  // 27
    {0x23, "PWM3 Config", "Bhvr:Bhvr:Bhvr:Inv:Slow:Spin:Spin:Spin", 0x51, false},  // 28
    {0x24, "PWM4 Config", "Bhvr:Bhvr:Bhvr:Inv:Slow:Spin:Spin:Spin", 0x71, false},  // 29
    {0x25, "PWM 1&2 Freq", "F2:F2:F2:F1:F1:F1:Min2:Min1", 0x90, false},  // 30
    {0x26, "PWM 3&4 Freq", "F4:F4:F4:F3:F3:F3:Min4:Min3", 0x90, false},  // 31
    {0x28, "PWM1 Min", "7:6:5:4:3:2:1:0", 0x80, false},  // 32
    {0x29, "PWM2 Min", "7:6:5:4:3:2:1:0", 0x80, false},  // 33
    {0x2A, "PWM3 Min", "7:6:5:4:3:2:1:0", 0x80, false},  // 34
    {0x2B, "PWM4 Min", "7:6:5:4:3:2:1:0", 0x80, false},  // 35
    {0x2C, "PWM 1-4 Max", "7:6:5:4:3:2:1:0", 0xC0, false},  // 36
    {0x30, "Thermal Mask 1", "R3D:R2D:R1D:R3:R2:R1:LCAL:RES", 0x00, false},  // 37
    {0x31, "Thermal Mask 2", "VRD2:VRD1:T25:T2A:T2%:T1S:T1A:T1%", 0xC0, false},  // 38
    {0x32, "Voltage Mask 1", "P23:5V:P19:P15:3.3V:12V3:12V2:12V1", 0x00, false},  // 39
    {0x33, "Voltage Mask 2", "1.5V:1.5V:P26:P25:P24:Res:Res:Res", 0x00, false},  // 40
    {0x34, "Fan Mask", "Fn8:Fn7:Fn6:Fn5:Fn4:Fn3:Fn2:Fn1", 0x00, false},  // 41
    {0x35, "Digital Mask", "CI:VID:SSL2:SSL1:F2Max:Res:Res:Res", 0x38, false},  // 42
    {0x36, "GPIO Mask", "GIO8:GIO7:GIO6:GIO5:GIO4:DIO3:GIO2:GIO1", 0x00, false},  // 43
    {0x37, "EDO Mask 1", "Volt:Temp:Fan:Res:GIO4:DIO3:GIO2:GIO1", 0x00, false},  // 44
    {0x38, "EDO Mask 2", "Volt:Temp:Fan:Res:GIO4:DIO3:GIO2:GIO1", 0x00, false},  // 45
    {0x3D, "Device ID", "7:6:5:4:3:2:1:0", 0x62, true},  // 46
    {0x3E, "Company ID", "7:6:5:4:3:2:1:0", 0x41, true},  // 47
    {0x3F, "Revision Number", "7:6:5:4:3:2:1:0", 0x00, true},  // 48
    {0x44, "Local Low Limit", "7:6:5:4:3:2:1:0", 0x40, false},  // 49
    {0x45, "Remote 1 Low Limit", "7:6:5:4:3:2:1:0", 0x40, false},  // 50
    {0x46, "Remote 2 Low Limit", "7:6:5:4:3:2:1:0", 0x40, false},  // 51
    {0x47, "Remote 3 Low Limit", "7:6:5:4:3:2:1:0", 0x40, false},  // 52
    {0x48, "Local High Limit", "7:6:5:4:3:2:1:0", 0x95, false},  // 53
    {0x49, "Remote 1 High Limit", "7:6:5:4:3:2:1:0", 0x95, false},  // 54
    {0x4A, "Remote 2 High Limit", "7:6:5:4:3:2:1:0", 0x95, false},  // 55
    {0x4B, "Remote 3 High Limit", "7:6:5:4:3:2:1:0", 0x95, false},  // 56
    {0x4C, "Local THERM1 Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 57
    {0x4D, "Remote 1 THERM1 Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 58
    {0x4E, "Remote 2 THERM1 Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 59
    {0x4F, "Remote 3 THERM1 Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 60
    {0x50, "Local THERM2 Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 61
    {0x51, "Remote 1 THERM2 Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 62
    {0x52, "Remote 2 THERM2 Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 63
    {0x53, "Remote 3 THERM2 Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 64
    {0x54, "Local/Remote 1 Hyst", "RH1:RH1:RH1:RH1:LH:LH:LH:LH", 0x44, false},  // 65
    {0x55, "Remote 2 / Remote 3 Hyst", "RH3:RH3:RH3:RH3:RH2:RH2:RH2:RH2", 0x44, false},  // 66
    {0x56, "Local Offset", "7:6:5:4:3:2:1:0", 0x00, false},  // 67
    {0x57, "Remote 1 Offset", "7:6:5:4:3:2:1:0", 0x00, false},  // 68
    {0x58, "Remote 2 Offset", "7:6:5:4:3:2:1:0", 0x00, false},  // 69
    {0x59, "Remote 3 Offset", "7:6:5:4:3:2:1:0", 0x00, false},  // 70
    {0x5A, "Remote 1 Operating Point", "7:6:5:4:3:2:1:0", 0xA4, false},  // 71
    {0x5B, "Remote 2 Operating Point", "7:6:5:4:3:2:1:0", 0xA4, false},  // 72
    {0x5C, "Local Tmin", "7:6:5:4:3:2:1:0", 0x9A, false},  // 73
    {0x5D, "Remote 1 Tmin", "7:6:5:4:3:2:1:0", 0x9A, false},  // 74
    {0x5E, "Remote 2 Tmin", "7:6:5:4:3:2:1:0", 0x9A, false},  // 75
    {0x5F, "Remote 3 Tmin", "7:6:5:4:3:2:1:0", 0x9A, false},  // 76
    {0x60, "Local Trange/Hys", "7:6:5:4:3:2:1:0", 0xC4, false},  // 77
    {0x61, "Remote 1 Trans/Hys", "7:6:5:4:3:2:1:0", 0xC4, false},  // 78
    {0x62, "Remote 2 Trans/Hys", "7:6:5:4:3:2:1:0", 0xC4, false},  // 79
    {0x63, "Remote 3 Trans/Hys", "7:6:5:4:3:2:1:0", 0xC4, false},  // 80
    {0x64, "Operating Point Hyst", "Hys:Hys:Hys:Hys:Res:Res:Res:Res", 0x04, false},  // 81
    {0x68, "+3.3V High Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 82
    {0x69, "Pin 23 V High Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 83
    {0x6A, "Pin 24 V High Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 84
    {0x6B, "Pin 25 V High Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 85
    {0x6C, "Pin 26 V High Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 86
    {0x6D, "+12V1 Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 87
    {0x6E, "+12V2 Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 88
    {0x6F, "+12V3 Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 89
    {0x70, "+3.3V Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 90
    {0x71, "+5V Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 91
    {0x72, "Pin 23 V Low Limit", "7:6:5:4:3:2:1:0", 0x20, false},  // 92
    {0x73, "Pin 24 V Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 93
    {0x74, "Pin 25 V Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 94
    {0x75, "Pin 26 V Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 95
    {0x76, "+1.5V2 (ICH) Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 96
    {0x77, "+1.5V1 (3GIO) Low Limit", "7:6:5:4:3:2:1:0", 0x00, false},  // 97
    {0x78, "Tach 1 Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 98
    {0x79, "Tach 2 Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 99
    {0x7A, "Tach 3 Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 100
    {0x7B, "Tach 4 Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 101
    {0x7C, "Tach 5 Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 102
    {0x7D, "Tach 6 Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 103
    {0x7E, "Tach 7 Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 104
    {0x7F, "Tach 8 Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 105
    {0x80, "THERM 1 Timer Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 106
    {0x81, "THERM 2 Timer Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 107
    {0x88, "Local Temp LSBs", "7:6:5:4:3:2:1:0", 0x00, true},  // 108
    {0x89, "Local Temp MSB", "7:6:5:4:3:2:1:0", 0x00, true},  // 109
    {0x8A, "Remote 1 Temp LSBs", "7:6:5:4:3:2:1:0", 0x00, true},  // 110
    {0x8B, "Remote 1 Temp MSB", "7:6:5:4:3:2:1:0", 0x00, true},  // 111
    {0x8C, "Remote 2 Temp LSBs", "7:6:5:4:3:2:1:0", 0x00, true},  // 112
    {0x8D, "Remote 2 Temp MSB", "7:6:5:4:3:2:1:0", 0x00, true},  // 113
    {0x8E, "Remote 3 Temp LSBs", "7:6:5:4:3:2:1:0", 0x00, true},  // 114
    {0x8F, "Remote 3 Temp MSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 115
    {0x90, "Pin 23 Voltage", "7:6:5:4:3:2:1:0", 0x00, true},  // 116
    {0x91, "Pin 24 Voltage", "7:6:5:4:3:2:1:0", 0x00, true},  // 117
    {0x92, "Pin 25 Voltage", "7:6:5:4:3:2:1:0", 0x00, true},  // 118
    {0x93, "Pin 26 Voltage", "7:6:5:4:3:2:1:0", 0x00, true},  // 119
    {0x94, "+1.5V1 (3GIO) Voltage", "7:6:5:4:3:2:1:0", 0x00, true},  // 120
    {0x95, "+1.5V2 (ICH) Voltage", "7:6:5:4:3:2:1:0", 0x00, true},  // 121
    {0x96, "+3.3V Voltage", "7:6:5:4:3:2:1:0", 0x00, true},  // 122
    {0x98, "Tach 1 LSB's", "7:6:5:4:3:2:1:0", 0xFF, true},  // 123
    {0x99, "Tach 1 MSB's", "7:6:5:4:3:2:1:0", 0xFF, true},  // 124
    {0x9A, "Tach 2 LSB's", "7:6:5:4:3:2:1:0", 0xFF, true},  // 125
    {0x9B, "Tach 2 MSB's", "7:6:5:4:3:2:1:0", 0xFF, true},  // 126
    {0x9C, "Tach 3 LSB's", "7:6:5:4:3:2:1:0", 0xFF, true},  // 127
    {0x9D, "Tach 3 MSB's", "7:6:5:4:3:2:1:0", 0xFF, true},  // 128
    {0x9E, "Tach 4 LSB's", "7:6:5:4:3:2:1:0", 0xFF, true},  // 129
    {0x9F, "Tach 4 MSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 130
    {0xA2, "Tach 5 LSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 131
    {0xA3, "Tach 5 MSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 132
    {0xA4, "Tach 6 LSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 133
    {0xA5, "Tach 6 MSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 134
    {0xA6, "Tach 7 LSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 135
    {0xA7, "Tach 7 MSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 136
    {0xA8, "Tach 8 LSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 137
    {0xA9, "Tach 8 MSB", "7:6:5:4:3:2:1:0", 0xFF, true},  // 138
    {0xAA, "PWM 1 Value", "7:6:5:4:3:2:1:0", 0x00, false},  // 139
    {0xAB, "PWM 2 Value", "7:6:5:4:3:2:1:0", 0x00, false},  // 140
    {0xAC, "PWM 3 Value", "7:6:5:4:3:2:1:0", 0x00, false},  // 141
    {0xAD, "PWM 4 Value", "7:6:5:4:3:2:1:0", 0x00, false},  // 142
    {0xAE, "THERM 1% Ontime", "7:6:5:4:3:2:1:0", 0x00, true},  // 143
    {0xAF, "THERM 2% Ontime", "7:6:5:4:3:2:1:0", 0x00, true},  // 144
    {0xB8, "Thermal Status 1,Host", "R3D:R2D:R1D:R3:R2:R1:Local:Res", 0x00, true},  // 145
    {0xB9, "Thermal Status 2,Host", "VR2:VR1:T2S:T2A:T2%:T1S:T1A:T1%", 0x00, true},  // 146
    {0xBA, "Thermal Status 3,Host", "R3T2:R2T2:R1T2:LT2:R3T1:R2T1:R1T1:LT1", 0x00, true},  // 147
    {0xBB, "Voltage Status 1,Host", "P23:5V:P19:P15:3.3V:12V3:12V2:12V1", 0x00, true},  // 148
    {0xBC, "Voltage Status 2,Host", "1.5V:1.5V:P26:P25:P24:Res:Res:Res", 0x00, true},  // 149
    {0xBD, "Fan Status,Host", "F8:F7:F6:F5:F4:F3:F2:F1", 0x00, true},  // 150
    {0xBE, "Digital Status,Host", "CI:VID:SCS2:SCS1:Res:Res:Res:Res", 0x00, true},  // 151
    {0xBF, "GPIO Status,Host", "GP8:GP7:GP6:GP5:GP4:GP3:GP2:GP1", 0x00, true},  // 152
    {0xC0, "Thermal Status 1,BMC", "R3D:R2D:R1D:R3:R2:R1:Local:Res", 0x00, true},  // 153
    {0xC1, "Thermal Status 2,BMC", "VR2:VR1:T2S:T2A:T2%:T1S:T1A:T1%", 0x00, true},  // 154
    {0xC3, "Voltage Status 1,BMC", "P23:5V:P19:P15:3.3V:12V3:12V2:12V1", 0x00, true},  // 155
    {0xC4, "Voltage Status 2,BMC", "1.5V:1.5V:P26:P25:P24:Res:Res:Res", 0x00, true},  // 156
    {0xC5, "Fan Status,BMC", "F8:F7:F6:F5:F4:F3:F2:F1", 0x00, true},  // 157
    {0xC6, "Digital Status,BMC", "CI:VID:SCS2:SCS1:F2Max:Res:Res:Res", 0x00, true},  // 158
    {0x45, "Pin 15 Low Limit", "7:6:5:4:3:2:1:0", 0x40, false},  // 159
    {0x47, "Pin 19 Low Limit", "7:6:5:4:3:2:1:0", 0x40, false},  // 160
    {0x49, "Pin 15 High Limit", "7:6:5:4:3:2:1:0", 0x95, false},  // 161
    {0x4B, "Pin 19 High Limit", "7:6:5:4:3:2:1:0", 0x95, false},  // 162
    {0x4C, "1.5V2 (ICH) High Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 163
    {0x78, "VID", "7:6:5:4:3:2:1:0", 0xFF, false},  // 164
    {0x7C, "+12V1 High Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 165
    {0x7D, "+12V2 High Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 166
    {0x7E, "+5V High Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 167
    {0x7F, "+12V3 High Limit", "7:6:5:4:3:2:1:0", 0xFF, false},  // 168
    {0x8B, "Pin 15 Voltage", "7:6:5:4:3:2:1:0", 0x00, true},  // 169
    {0x8F, "Pin 19 Voltage", "7:6:5:4:3:2:1:0", 0xFF, true},  // 170
    {0xA3, "+12V1 Voltage", "7:6:5:4:3:2:1:0", 0xFF, true},  // 171
    {0xA5, "+12V2 Voltage", "7:6:5:4:3:2:1:0", 0xFF, true},  // 172
    {0xA7, "+5V Voltage", "7:6:5:4:3:2:1:0", 0xFF, true},  // 173
    {0xA9, "+12V3 Voltage", "7:6:5:4:3:2:1:0", 0xFF, true},  // 174
    {0x50, "1.5V1 (3GIO) High Limit", "7:6:5:4:3:2:1:0", 0xA4, false},  // 175
}};
// clang-format on

}  // namespace kestrum
