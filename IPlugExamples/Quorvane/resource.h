#pragma once

#include "wdlendian.h"
// Quorvane's identity: the constants the host sees.

#define PLUG_NAME "Quorvane"
#define PLUG_MFR "Orvantine"
#define PLUG_PRODUCT ""
#define PLUG_CHANNEL_IO "2-2"
#define PLUG_VER 0x00010000 // 1.0.0
#define PLUG_UNIQUE_ID static_cast<int>(WDL_FourCC("ln0p"))
#define PLUG_MFR_ID static_cast<int>(WDL_FourCC("Ovtn"))
#define PLUG_LATENCY 0
#define PLUG_IS_INST 0
#define PLUG_DOES_MIDI 0
#define PLUG_DOES_STATE_CHUNKS 0
#define PLUG_SC_CHANS 0
#define PLUG_NUM_PRESETS 1
