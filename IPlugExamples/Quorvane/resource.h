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
// The LV2 plug-in's release version (lv2:minorVersion, lv2:microVersion):
// LV2 versions have no major number and call an odd number or a minor zero
// unstable, so this is not the AAX version above.
#define PLUG_LV2_MINOR_VERSION 2
#define PLUG_LV2_MICRO_VERSION 0

// What hosts and package tools show beside the name.
#define PLUG_SHORT_DESC "Stereo utility: swap the channels, or fold them to mono"
#define PLUG_DESCRIPTION                                                                           \
  "Swap exchanges the left and right channels. Mono replaces both with their average, taken "     \
  "after the swap. Single precision, no latency."
#define PLUG_LICENSE_URI "https://orvantine.com/quorvane/license"
#define PLUG_MFR_EMAIL "plugins@orvantine.com"
#define PLUG_MFR_HOMEPAGE "https://orvantine.com/quorvane"
#define PLUG_SWAP_COMMENT "On: the left output is the right input and the right output the left"
#define PLUG_MONO_COMMENT "On: both outputs are the average of the two channels (after Swap)"

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
