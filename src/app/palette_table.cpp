#include "app/palette_table.hpp"

#include <array>

namespace kavrix::palette {
namespace {

constexpr ButtonDef kButtons[] = {
    // Sources, load and lines: always on the bar.
    {8, Role::kPlacement, 91, 0, Show::kAlways, "SAT TV Signal Sources (LNB)"},
    {25, Role::kPlacement, 92, 0, Show::kAlways, "Catv Signal Source (Antenna)"},
    {160, Role::kPlacement, 93, 0, Show::kAlways, "UHF band antenna"},
    {161, Role::kPlacement, 94, 0, Show::kAlways, "VHFIII band antenna"},
    {162, Role::kPlacement, 95, 0, Show::kAlways, "FM band antenna"},
    {132, Role::kPlacement, 98, 0, Show::kAlways, "Load with DC block"},
    {28, Role::kPlacement, 201, 0, Show::kAlways, "5-Cable Trunk Lines"},
    {9, Role::kPlacement, 202, 0, Show::kAlways, "Trunk lines"},
    {22, Role::kPlacement, 203, 0, Show::kAlways, "Single Cable Trunk Line"},
    {189, Role::kPlacement, 205, 0, Show::kAlways, "Fiber Optic Cable"},
    {15, Role::kPlacement, 210, 0, Show::kAlways, "TV socket with cable"},
    {105, Role::kCategory, 0, 0, Show::kAlways, "ccessories"},
    {174, Role::kDevice, 29, 105, Show::kWithParent, "Power inserter"},
    {173, Role::kDevice, 107, 105, Show::kWithParent, "Terrestrial band Line amplifier"},
    {176, Role::kDevice, 109, 105, Show::kWithParent, "SAT band Line amplifier and passive Terrestrial band path "},
    {166, Role::kDevice, 80, 105, Show::kWithParent, "Attenuator"},
    {56, Role::kDevice, 55, 105, Show::kNever, "Single Line Amplifier"},
    {57, Role::kDevice, 26, 105, Show::kNever, "Active 2-way splitter"},
    {58, Role::kDevice, 28, 105, Show::kNever, "Active 6-way splitter"},
    {59, Role::kDevice, 27, 105, Show::kNever, "Active 4-way splitter"},
    {60, Role::kDevice, 56, 105, Show::kNever, "4-Path SAT TV Amplifier"},
    {97, Role::kCategory, 0, 0, Show::kAlways, "VB Comp."},
    {191, Role::kDevice, 97, 97, Show::kWithParent, "HDMI to TVB-T Modulator"},
    {192, Role::kDevice, 58, 97, Show::kWithParent, "DVB S/S2 to IP streamer"},
    {193, Role::kDevice, 59, 97, Show::kWithParent, "DVB T/T2/C to IP streamer"},
    {55, Role::kDevice, 61, 97, Show::kWithParent, "Quatro DVB-T to DVB-C transmodulator"},
    {29, Role::kDevice, 96, 97, Show::kWithParent, "Digital TV modulator"},
    {30, Role::kDevice, 60, 97, Show::kWithParent, "16 channels 8PSK/QPSK-QAM transmodulator"},
    {106, Role::kCategory, 0, 0, Show::kNever, "Cable Syst."},
    {51, Role::kDevice, 1, 106, Show::kWithParent, "4-input Lines Low Gain Cascadable Multiswitch"},
    {52, Role::kDevice, 3, 106, Show::kWithParent, "4-input Lines Middle Gain Cascadable Multiswitch"},
    {53, Role::kDevice, 4, 106, Show::kWithParent, "4-input Lines High Gain Cascadable Multiswitch"},
    {96, Role::kDevice, 2, 106, Show::kWithParent, "4-input Lines Low Gain Cascadable Multiswitch"},
    {67, Role::kDevice, 5, 106, Show::kWithParent, "4-input Lines 8-outputs Cascadable Multiswitch with  tap loss 12dB"},
    {68, Role::kDevice, 6, 106, Show::kWithParent, "4-input Lines 8-outputs Cascadable Multiswitch with  tap gain 0 dB"},
    {69, Role::kDevice, 7, 106, Show::kWithParent, "4-input Lines 8-outputs Cascadable Multiswitch with  tap gain 6 dB"},
    {70, Role::kDevice, 8, 106, Show::kWithParent, "4-input Lines 8-outputs Cascadable Multiswitch with  tap gain 12dB"},
    {71, Role::kCategory, 0, 0, Show::kAlways, "Cable Syst."},
    {99, Role::kGroup, 0, 71, Show::kWithParent, "Amplifiers"},
    {107, Role::kDevice, 101, 99, Show::kWithParent, "5-Path SAT+TerrTV Launch Amplifier"},
    {108, Role::kDevice, 102, 99, Show::kWithParent, "5-Path SAT+TerrTV Amplifier with remote feeding"},
    {19, Role::kDevice, 51, 99, Show::kNever, "5-Path SAT+TerrTV Launch Amplifier"},
    {20, Role::kDevice, 52, 99, Show::kNever, "5-Path SAT+TerrTV Amplifier"},
    {81, Role::kDevice, 50, 99, Show::kNever, "5-Path SAT+TerrTV Launch Amplifier with higher gain"},
    {95, Role::kDevice, 57, 99, Show::kNever, "5-Path SAT(without slope)+Terrestrial TV Amplifier"},
    {26, Role::kGroup, 0, 71, Show::kWithParent, "5-inputs  Mains Powered Multiswitches  made in die-casd housing"},
    {62, Role::kDevice, 151, 26, Show::kWithParent, "5-inputs 4-outputs  Mains Powered Multiswitch"},
    {66, Role::kDevice, 152, 26, Show::kWithParent, "5-inputs 8-outputs  Mains Powered Multiswitch"},
    {109, Role::kGroup, 0, 71, Show::kWithParent, "5-inputs remotely powered multiswitches for large networks"},
    {23, Role::kDevice, 131, 109, Show::kWithParent, "5-inputs 8-outputs remotely powered multiswitch for large networks"},
    {115, Role::kDevice, 133, 109, Show::kWithParent, "5-inputs 12-outputs remotely powered multiswitch for large networks"},
    {117, Role::kDevice, 135, 109, Show::kWithParent, "5-inputs 16-outputs remotely powered multiswitch for large networks"},
    {119, Role::kDevice, 137, 109, Show::kWithParent, "5-inputs 24-outputs remotely powered multiswitch for large networks"},
    {120, Role::kDevice, 139, 109, Show::kWithParent, "5-inputs 32-outputs remotely powered multiswitch for large networks"},
    {54, Role::kGroup, 0, 71, Show::kWithParent, "5-inputs  Mains Powered Multiswitches"},
    {113, Role::kDevice, 132, 54, Show::kWithParent, "5-inputs 8-outputs  Mains Powered Multiswitch"},
    {114, Role::kDevice, 134, 54, Show::kWithParent, "5-inputs 12-outputs  Mains Powered Multiswitch"},
    {116, Role::kDevice, 136, 54, Show::kWithParent, "5-inputs 16-outputs  Mains Powered Multiswitch"},
    {118, Role::kDevice, 138, 54, Show::kWithParent, "5-inputs 24-outputs  Mains Powered Multiswitch"},
    {121, Role::kDevice, 140, 54, Show::kWithParent, "5-inputs 32-outputs  Mains Powered Multiswitch"},
    {111, Role::kGroup, 0, 71, Show::kNever, "5-inputs remotely powered multiswitches for large networks with 16-mm line spacing"},
    {31, Role::kDevice, 31, 111, Show::kWithParent, "5-inputs 4-outputs remotely powered multiswitch for large networks"},
    {34, Role::kDevice, 33, 111, Show::kWithParent, "5-inputs 8-outputs remotely powered multiswitch for large networks"},
    {35, Role::kDevice, 35, 111, Show::kWithParent, "5-inputs 12-outputs remotely powered multiswitch for large networks"},
    {36, Role::kDevice, 37, 111, Show::kWithParent, "5-inputs 16-outputs remotely powered multiswitch for large networks"},
    {10, Role::kDevice, 39, 111, Show::kWithParent, "5-inputs 24-outputs remotely powered multiswitch for large networks"},
    {11, Role::kDevice, 41, 111, Show::kWithParent, "5-inputs 32-outputs remotely powered multiswitch for large networks"},
    {110, Role::kGroup, 0, 71, Show::kNever, "5-inputs  Mains Powered Multiswitches with 16-mm line spacing"},
    {38, Role::kDevice, 32, 110, Show::kWithParent, "5-inputs 4-outputs Mains Powered Multiswitch"},
    {39, Role::kDevice, 34, 110, Show::kWithParent, "5-inputs 8-outputs  Mains Powered Multiswitch"},
    {40, Role::kDevice, 36, 110, Show::kWithParent, "5-inputs 12-outputs  Mains Powered Multiswitch"},
    {41, Role::kDevice, 38, 110, Show::kWithParent, "5-inputs 16-outputs  Mains Powered Multiswitch"},
    {79, Role::kDevice, 40, 110, Show::kWithParent, "5-inputs 24-outputs  Mains Powered Multiswitch"},
    {80, Role::kDevice, 42, 110, Show::kWithParent, "5-inputs 32-outputs  Mains Powered Multiswitch"},
    {112, Role::kGroup, 0, 71, Show::kWithParent, "5-input Lines  Multiswitches powered with external powe supply"},
    {32, Role::kDevice, 11, 112, Show::kWithParent, "5-input Lines Cascadable Multiswitch"},
    {33, Role::kDevice, 12, 112, Show::kWithParent, "5-input Lines End-Multiswitch"},
    {21, Role::kDevice, 14, 112, Show::kWithParent, "5-input Lines End-Multiswitch"},
    {98, Role::kGroup, 0, 71, Show::kNever, "Splitters and Taps with 16-mm line spacing "},
    {24, Role::kDevice, 21, 98, Show::kWithParent, "SAT+TerrTV Splitter"},
    {27, Role::kDevice, 22, 98, Show::kWithParent, "SAT+TerrTV -10dB Tap"},
    {100, Role::kGroup, 0, 71, Show::kWithParent, "Splitters and Taps made in die-casd housing"},
    {101, Role::kDevice, 121, 100, Show::kWithParent, "5 path 2-way SAT+TerrTV Splitter"},
    {102, Role::kDevice, 122, 100, Show::kWithParent, "5 path SAT+TerrTV 10dB tap"},
    {103, Role::kDevice, 123, 100, Show::kWithParent, "5 path SAT+TerrTV 15dB tap"},
    {104, Role::kDevice, 124, 100, Show::kWithParent, "5 path SAT+TerrTV 20dB tap"},
    {16, Role::kDevice, 125, 100, Show::kWithParent, "5 path 4-way SAT+Terrestrial TV splitter"},
    {158, Role::kGroup, 0, 71, Show::kWithParent, "5-inputs  Remotely Powered Multiswitches  made in die-casd housing with passive Terrestrial path"},
    {159, Role::kDevice, 153, 158, Show::kWithParent, "5-inputs 8-outputs  Remotely Powered Multiswitch"},
    {122, Role::kCategory, 0, 0, Show::kAlways, "Cable Syst."},
    {43, Role::kGroup, 0, 122, Show::kWithParent, "9-path SAT+Terrestrial Amplifiers"},
    {133, Role::kDevice, 105, 43, Show::kWithParent, "9-Path SAT+TerrTV Launch Amplifier"},
    {134, Role::kDevice, 106, 43, Show::kWithParent, "9-Path SAT+TerrTV Amplifier"},
    {49, Role::kDevice, 53, 43, Show::kNever, "9-Path SAT+TerrTV Launch Amplifier"},
    {50, Role::kDevice, 54, 43, Show::kNever, "9-Path SAT+TerrTV Amplifier"},
    {123, Role::kGroup, 0, 122, Show::kWithParent, "9-inputs  Mains Powered Multiswitches  made in die-casd housing with passive Terrestrial path"},
    {6, Role::kDevice, 161, 123, Show::kWithParent, "9-inputs 4-outputs  Mains Powered Multiswitch"},
    {37, Role::kDevice, 162, 123, Show::kWithParent, "9-inputs 8-outputs  Mains Powered Multiswitch"},
    {48, Role::kDevice, 163, 123, Show::kWithParent, "9-inputs 12-outputs  Mains Powered Multiswitch"},
    {78, Role::kDevice, 164, 123, Show::kWithParent, "9-inputs 16-outputs  Mains Powered Multiswitch"},
    {140, Role::kGroup, 0, 122, Show::kWithParent, "9 path splitters and Taps made in die-casd housing"},
    {135, Role::kDevice, 116, 140, Show::kWithParent, "9 path 2-way SAT+TerrTV Splitter"},
    {136, Role::kDevice, 117, 140, Show::kWithParent, "9 path SAT+TerrTV 10dB tap"},
    {137, Role::kDevice, 118, 140, Show::kWithParent, "9  path SAT+TerrTV 15dB tap"},
    {138, Role::kDevice, 119, 140, Show::kWithParent, "9 path SAT+TerrTV 20dB tap"},
    {139, Role::kDevice, 120, 140, Show::kWithParent, "9 path 4-way SAT+Terrestrial TV splitter"},
    {141, Role::kGroup, 0, 122, Show::kWithParent, "9-inputs remotely powered multiswitches for large networks"},
    {143, Role::kDevice, 171, 141, Show::kWithParent, "9-inputs 8-outputs remotely powered multiswitch for large networks"},
    {144, Role::kDevice, 173, 141, Show::kWithParent, "9-inputs 12-outputs remotely powered multiswitch for large networks"},
    {145, Role::kDevice, 175, 141, Show::kWithParent, "9-inputs 16-outputs remotely powered multiswitch for large networks"},
    {146, Role::kDevice, 177, 141, Show::kWithParent, "9-inputs 24-outputs remotely powered multiswitch for large networks"},
    {147, Role::kDevice, 179, 141, Show::kWithParent, "9-inputs 32-outputs remotely powered multiswitch for large networks"},
    {142, Role::kGroup, 0, 122, Show::kWithParent, "9-inputs  Mains Powered Multiswitches"},
    {148, Role::kDevice, 170, 142, Show::kWithParent, "9-inputs 8-outputs  Mains Powered Multiswitch"},
    {149, Role::kDevice, 172, 142, Show::kWithParent, "9-inputs 12-outputs  Mains Powered Multiswitch"},
    {150, Role::kDevice, 174, 142, Show::kWithParent, "9-inputs 16-outputs  Mains Powered Multiswitch"},
    {151, Role::kDevice, 176, 142, Show::kWithParent, "9-inputs 24-outputs  Mains Powered Multiswitch"},
    {152, Role::kDevice, 178, 142, Show::kWithParent, "9-inputs 32-outputs  Mains Powered Multiswitch"},
    {153, Role::kGroup, 0, 122, Show::kWithParent, "9-inputs  Remotely Powered Multiswitches  made in die-casd housing with passive Terrestrial path"},
    {154, Role::kDevice, 165, 153, Show::kWithParent, "9-inputs 4-outputs  Remotely Powered Multiswitch"},
    {155, Role::kDevice, 166, 153, Show::kWithParent, "9-inputs 8-outputs  Remotely Powered Multiswitch"},
    {156, Role::kDevice, 167, 153, Show::kWithParent, "9-inputs 12-outputs  Remotely Powered Multiswitch"},
    {157, Role::kDevice, 168, 153, Show::kWithParent, "9-inputs 16-outputs  Remotely Powered Multiswitch"},
    {125, Role::kGroup, 0, 122, Show::kNever, "9-inputs remotely powered multiswitches for large networks with 16-mm line spacing"},
    {45, Role::kDevice, 67, 125, Show::kWithParent, "9-inputs 8-outputs remotely powered multiswitch for large networks"},
    {76, Role::kDevice, 69, 125, Show::kWithParent, "9-inputs 12-outputs remotely powered multiswitch for large networks"},
    {77, Role::kDevice, 71, 125, Show::kWithParent, "9-inputs 16-outputs remotely powered multiswitch for large networks"},
    {84, Role::kDevice, 73, 125, Show::kWithParent, "9-inputs 24-outputs remotely powered multiswitch for large networks"},
    {85, Role::kDevice, 75, 125, Show::kWithParent, "9-inputs 32-outputs remotely powered multiswitch for large networks"},
    {126, Role::kGroup, 0, 122, Show::kNever, "9-inputs  Mains Powered Multiswitches with 16-mm line spacing"},
    {12, Role::kDevice, 68, 126, Show::kWithParent, "9-inputs 8-outputs Radial Multiswitch"},
    {13, Role::kDevice, 70, 126, Show::kWithParent, "9-inputs 12-outputs Radial Multiswitch"},
    {14, Role::kDevice, 72, 126, Show::kWithParent, "9-inputs 16-outputs Radial Multiswitch"},
    {82, Role::kDevice, 74, 126, Show::kWithParent, "9-inputs 24-outputs Radial Multiswitch"},
    {83, Role::kDevice, 76, 126, Show::kWithParent, "9-inputs 32-outputs Radial Multiswitch"},
    {127, Role::kGroup, 0, 122, Show::kNever, "9-input Lines  Multiswitches powered with external powe supply"},
    {46, Role::kDevice, 65, 127, Show::kWithParent, "9-input Lines Cascadable Multiswitch"},
    {47, Role::kDevice, 66, 127, Show::kWithParent, "9-input Lines End-Multiswitch"},
    {7, Role::kCategory, 0, 0, Show::kNever, "Cable Syst."},
    {87, Role::kDevice, 77, 7, Show::kWithParent, "17-inputs 8-outputs Cascadable Multiswitch"},
    {88, Role::kDevice, 78, 7, Show::kWithParent, "17-inputs 8-outputs Radial Multiswitch"},
    {92, Role::kDevice, 79, 7, Show::kWithParent, "17-inputs 16-outputs Radial Multiswitch"},
    {61, Role::kCategory, 0, 0, Show::kAlways, "SCR Syst."},
    {64, Role::kDevice, 181, 61, Show::kWithParent, "Cascadable single cable multiswitch with 2 outputs"},
    {65, Role::kDevice, 182, 61, Show::kWithParent, "Cascadable single cable multiswitch with 2 outputs"},
    {124, Role::kDevice, 126, 61, Show::kWithParent, "2- way splitter"},
    {167, Role::kDevice, 127, 61, Show::kWithParent, "3- way splitter"},
    {168, Role::kDevice, 128, 61, Show::kWithParent, "4- way splitter"},
    {169, Role::kDevice, 183, 61, Show::kWithParent, "Cascadable single cable multiswitch with 8 outputs"},
    {170, Role::kDevice, 184, 61, Show::kWithParent, "Cascadable single cable multiswitch with 4 outputs"},
    {171, Role::kDevice, 129, 61, Show::kWithParent, "2- way splitter"},
    {172, Role::kDevice, 185, 61, Show::kWithParent, "Cascadable single cable multiswitch with 2 outputs"},
    {175, Role::kDevice, 108, 61, Show::kWithParent, "Splitband amplifier"},
    {89, Role::kCategory, 0, 0, Show::kAlways, "err.TV Comp."},
    {44, Role::kDevice, 45, 89, Show::kWithParent, "Medium power house amplifier"},
    {72, Role::kDevice, 90, 89, Show::kWithParent, "Medium power huose amplifier"},
    {73, Role::kDevice, 43, 89, Show::kWithParent, "Medium power splitband house amplifier "},
    {74, Role::kDevice, 44, 89, Show::kWithParent, "Multiband high power amplifier"},
    {17, Role::kDevice, 89, 89, Show::kWithParent, "High power huose amplifier"},
    {128, Role::kDevice, 81, 89, Show::kWithParent, "2 UHF TV channels amplifier (bandwidth 8 MHz)"},
    {129, Role::kDevice, 82, 89, Show::kWithParent, "2 UHF TV channels amplifier (bandwidth 7 MHz)"},
    {130, Role::kDevice, 83, 89, Show::kWithParent, "2 VHF TV channels amplifier (bandwidth 7 MHz)"},
    {131, Role::kDevice, 84, 89, Show::kWithParent, "4 UHF TV channels amplifier (bandwidth 8 MHz)"},
    {163, Role::kDevice, 88, 89, Show::kWithParent, "Multiband amplifier"},
    {164, Role::kDevice, 87, 89, Show::kWithParent, "Antenna amplifier"},
    {165, Role::kDevice, 86, 89, Show::kWithParent, "Antenna triplexer"},
    {177, Role::kCategory, 0, 0, Show::kAlways, "iber Optics"},
    {178, Role::kDevice, 159, 177, Show::kWithParent, "Optical Attenuator 10dB"},
    {179, Role::kDevice, 141, 177, Show::kWithParent, "4 SAT IF sub-bands and DDT signals with WDM diplexer"},
    {180, Role::kDevice, 142, 177, Show::kWithParent, "Optical receiver, virtual quatro, with WDM diplexer"},
    {181, Role::kDevice, 143, 177, Show::kWithParent, "Optical receiver, build-in 4x4 multiswitch, with WDM diplexer"},
    {182, Role::kDevice, 156, 177, Show::kWithParent, "4-way Optical splitter "},
    {183, Role::kDevice, 154, 177, Show::kWithParent, "2-way Optical splitter "},
    {184, Role::kDevice, 155, 177, Show::kWithParent, "3-way Optical splitter "},
    {185, Role::kDevice, 144, 177, Show::kWithParent, "Optical transmitter"},
    {186, Role::kDevice, 145, 177, Show::kWithParent, "Optical receiver, virtual dual"},
    {187, Role::kDevice, 146, 177, Show::kWithParent, "Optical receiver with build-in 2x4 multiswitch"},
    {188, Role::kDevice, 157, 177, Show::kWithParent, "8-way Optical splitter "},
    {190, Role::kDevice, 158, 177, Show::kWithParent, "Optical Attenuator 5dB"},
    // The comment button closes the bar, after the run commands.
    {63, Role::kPlacement, 100, 0, Show::kAlways, "Comment"},
};

struct CommandName {
  int kind;
  const char* name;
};
constexpr CommandName kCommandNames[] = {
    {1, "Kelv11"}, {2, "Kelv21"}, {3, "Kelv31"}, {4, "Kelv41"}, {5, "Kelv51"}, {6, "Kelv61"}, {7, "Kelv71"},
    {8, "Kelv81"}, {11, "Kelv91"}, {12, "Kelv101"}, {14, "Kelv111"}, {17, "Pold21"}, {18, "Pold31"},
    {19, "Pold41"}, {20, "Quib11"}, {21, "Pold51"}, {22, "Pold61"}, {23, "Pold71"}, {24, "Pold81"},
    {25, "Quib21"}, {26, "Pold91"}, {27, "Pold101"}, {28, "Pold111"}, {29, "Brek11"}, {30, "DC"},
    {31, "Dovr11"}, {32, "Fesk11"}, {33, "Dovr21"}, {34, "Fesk21"}, {35, "Dovr31"}, {36, "Fesk31"},
    {37, "Dovr41"}, {38, "Fesk41"}, {39, "Dovr51"}, {40, "Fesk51"}, {41, "Dovr61"}, {42, "Fesk61"},
    {43, "Vorb11"}, {44, "Wexl11"}, {45, "Slev11"}, {50, "Nerb11"}, {51, "Nerb21"}, {52, "Nerb31"},
    {53, "Nerb41"}, {54, "Nerb51"}, {55, "Nerb61"}, {56, "Nerb71"}, {57, "Nerb81"}, {58, "Cerl11"},
    {59, "Dulm11"}, {60, "Gorv1P1"}, {61, "Femo11"}, {65, "Kelv151"}, {66, "Kelv161"}, {67, "Dovr71"},
    {68, "Fesk71"}, {69, "Dovr81"}, {70, "Fesk81"}, {71, "Dovr91"}, {72, "Fesk91"}, {73, "Dovr101"},
    {74, "Fesk101"}, {75, "Dovr111"}, {76, "Fesk111"}, {77, "Kelv171"}, {78, "Fesk121"}, {79, "Fesk131"},
    {80, "T1"}, {81, "Prul11"}, {82, "Prul21"}, {83, "Prul31"}, {84, "Prul41"}, {86, "Rimb21"},
    {87, "Qent11"}, {88, "Qent21"}, {89, "Slev21"}, {90, "Slev31"}, {91, "LNBIdeal1"}, {92, "TerrTV1"},
    {93, "UHFantena1"}, {94, "VHFIII1"}, {95, "FMantena1"}, {96, "Bavk11"}, {97, "Zirn11"},
    {98, "loadwithDCblock1"}, {100, "ToolButton63"}, {101, "Nerb91"}, {102, "Nerb101"}, {103, "Nerb111"},
    {104, "Nerb121"}, {105, "Nerb131"}, {106, "Nerb141"}, {107, "Drel11"}, {108, "Morv11"}, {109, "Nerb151"},
    {116, "Rask11"}, {117, "Rask21"}, {118, "Rask31"}, {119, "Rask41"}, {120, "Tovk11"}, {121, "Rask51"},
    {122, "Rask61"}, {123, "Rask71"}, {124, "Rask81"}, {125, "Tovk21"}, {126, "Jeko11"}, {127, "Jeko21"},
    {128, "Jeko31"}, {129, "Klav11"}, {131, "Gavn11"}, {132, "Hulm11"}, {133, "Gavn21"}, {134, "Hulm21"},
    {135, "Gavn31"}, {136, "Hulm31"}, {137, "Gavn41"}, {138, "Hulm41"}, {139, "Gavn51"}, {140, "Hulm51"},
    {141, "Hesk11"}, {142, "Ilmo11"}, {143, "Ilmo21"}, {144, "Hesk21"}, {145, "Ilmo31"}, {146, "Ilmo41"},
    {151, "Jarn11"}, {152, "Jarn21"}, {153, "Lurv11"}, {154, "Split21"}, {155, "Split31"}, {156, "Split41"},
    {157, "Split81"}, {158, "Att5dB1"}, {159, "Attenuator1"}, {161, "Jarn31"}, {162, "Jarn41"},
    {163, "Jarn51"}, {164, "Jarn61"}, {165, "Lurv21"}, {166, "Lurv31"}, {167, "Lurv41"}, {168, "Lurv51"},
    {170, "Hulm62"}, {171, "Gavn61"}, {172, "Hulm71"}, {173, "Gavn71"}, {174, "Hulm81"}, {175, "Gavn81"},
    {176, "Hulm91"}, {177, "Gavn91"}, {178, "Hulm101"}, {179, "Gavn101"}, {181, "Glim11"}, {182, "Glim21"},
    {183, "Glim31"}, {184, "Glim41"}, {185, "Glim51"}, {186, "Hulq11"}, {201, "N5cableTrunkLines1"},
    {202, "TrunkLines2"}, {203, "SingleTrunkLine1"}, {205, "Fibercable1"}, {210, "SubscriberCable2"},
};

// Shorthands for the menu tree: a device item captioned with its model name, a captioned item, a
// submenu, and the same two flagged as belonging to the obsolete families.
DrawEntry Item(int kind) { return {nullptr, kind, false, {}}; }
DrawEntry Named(const char* caption, int kind) { return {caption, kind, false, {}}; }
DrawEntry Old(int kind) { return {nullptr, kind, true, {}}; }
DrawEntry Sub(const char* caption, std::vector<DrawEntry> items) { return {caption, 0, false, std::move(items)}; }
DrawEntry OldSub(const char* caption, std::vector<DrawEntry> items) { return {caption, 0, true, std::move(items)}; }

std::vector<DrawEntry> Items(std::initializer_list<int> kinds) {
  std::vector<DrawEntry> out;
  for (int k : kinds) out.push_back(Item(k));
  return out;
}

}  // namespace

std::span<const ButtonDef> PaletteButtons() { return kButtons; }

const ButtonDef* FindPaletteButton(int id) {
  for (const ButtonDef& b : kButtons)
    if (b.id == id) return &b;
  return nullptr;
}

const std::vector<ObsoleteFamily>& ObsoleteFamilies() {
  static const std::vector<ObsoleteFamily> families{
      {43, {49, 50}}, {105, {56, 57, 58, 59, 60}}, {99, {19, 81, 95, 20}}, {71, {98, 111, 110}}};
  return families;
}

const std::vector<int>& ObsoleteReleaseOrder() {
  static const std::vector<int> order{99, 98, 105, 110, 111, 125, 126, 122};
  return order;
}

const std::vector<DrawEntry>& DrawMenuEntries() {
  static const std::vector<DrawEntry> menu{
      Sub("Signal Sources", {Named("SAT TV", 91), Named("CATV", 92), Named("UHF antenna", 93),
                             Named("VHFIII antenna", 94), Named("FM antenna", 95)}),
      Sub("Cables and loads", Items({201, 202, 203, 210, 98, 205})),
      Sub("Accessories", {Old(55), Old(26), Old(27), Old(28), Item(109), Item(29), Item(107), Item(80), Old(56),
                          Named("Power Supply", 30)}),
      OldSub("4-Cable System", Items({56, 1, 2, 3, 4, 5, 6, 7, 8})),
      Sub("5-Cable System",
          {Sub("Amplfiers", {Item(101), Item(102), Old(51), Old(50), Old(57), Old(52)}),
           Sub("Splitters, Taps", {Sub("Rask Series", Items({121, 122, 123, 124, 125})),
                                   OldSub("Pold Series", Items({21, 22, 23, 24, 25}))}),
           OldSub("Dovr Series", Items({31, 33, 35, 37, 39, 41})),
           OldSub("Fesk Series", Items({32, 34, 36, 38, 40, 42})),
           Sub("Gavn Series", Items({131, 133, 135, 137, 139})),
           Sub("Hulm Series", Items({132, 134, 136, 138, 140})),
           Sub("Jarn Series", Items({151, 152})),
           Sub("Lurv Series", Items({153})),
           Sub("Kelv Series", Items({11, 12, 14}))}),
      Sub("9-Cable System",
          {Sub("Amplifiers", {Old(53), Old(54), Item(105), Item(106)}),
           Sub("Splitters,Taps", {OldSub("Pold-Series", Items({16, 17, 18, 19, 20})),
                                  Sub("Rask-Series", Items({116, 117, 118, 119, 120}))}),
           OldSub("Dovr Series", Items({67, 69, 71, 73, 75})),
           OldSub("Fesk Series", Items({68, 70, 72, 74, 76})),
           Sub("Jarn Series", Items({161, 162, 163, 164})),
           Sub("Lurv Series", Items({165, 166, 167, 168})),
           OldSub("Kelv Series", Items({65, 66})),
           Sub("Gavn Series", Items({171, 173, 175, 177, 179})),
           Sub("Hulm Series", Items({170, 172, 174, 176, 178}))}),
      OldSub("17-Cable System", Items({77, 78, 79})),
      Sub("dSCR System", Items({181, 182, 185, 184, 183, 126, 127, 128, 129, 108})),
      Sub("Terr.TV Components", Items({81, 82, 83, 84, 88, 87, 86, 89, 90, 43, 44, 45})),
      Sub("DVB Components", Items({97, 96, 58, 59, 61, 60})),
      Sub("Fiber Optics equipment", Items({141, 142, 143, 144, 145, 146, 154, 155, 156, 157, 159, 158})),
  };
  return menu;
}

const char* PlacementCommandName(int kind) {
  for (const CommandName& c : kCommandNames)
    if (c.kind == kind) return c.name;
  return "";
}

}  // namespace kavrix::palette
