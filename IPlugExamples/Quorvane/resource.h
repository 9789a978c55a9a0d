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

// The LV2 plug-in's URI.
#define PLUG_LV2_URI "urn:orvantine:quorvane"

// The plug-in bundle's reverse-domain identifier: maker, "aax", product.
#define BUNDLE_ID "com.orvantine.aax.Quorvane"

// The editor: a fixed 190 x 120 picture at the default frame rate.
#define GUI_WIDTH 190
#define GUI_HEIGHT 120
#define GUI_FPS 0

// Pictures, looked up in the bundle's resources by file name.
#define BACKGROUND_ID 101
#define SWAP_ID 102
#define MONO_ID 103
#define BACKGROUND_FN "resources/img/Background.png"
#define SWAP_FN "resources/img/swapBtn.png"
#define MONO_FN "resources/img/monoBtn.png"
