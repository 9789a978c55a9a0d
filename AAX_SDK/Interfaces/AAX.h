// Basic AAX types shared by the host interfaces and the support library.
// Only what the system names is defined here; enumerators it does not fix (for
// example the property and stem-format names) are added by the code that uses them.
#pragma once

#include <cstdint>

// Result code of every host-facing call: 0 success, negative failure.
typedef int32_t AAX_Result;
// Host parameter identifier: NUL-terminated text of at most 31 characters.
typedef const char* AAX_CParamID;
typedef const char* AAX_CPageTableParamID;
// 8-bit boolean that crosses the host boundary (0 false, non-zero true).
typedef uint8_t AAX_CBoolean;
// Four-character codes and other 32-bit type identifiers; the first character is
// the most significant byte.
typedef uint32_t AAX_CTypeID;
// Value of a numeric property of the effect description.
typedef int32_t AAX_CPropertyValue;
// Index of a render-context field (packet port identifiers are field indices).
typedef int32_t AAX_CFieldIndex;
// Time of day in samples, and transport / automation counters.
typedef int64_t AAX_CTimeOfDay;
typedef int64_t AAX_CTransportCounter;
// Target platform code reported by the host (controller version 3).
typedef int32_t AAX_CTargetPlatform;

// Stem format: layout index (signed) in bits 16..31, channel count in bits 0..15.
enum AAX_EStemFormat : int32_t
{
};
constexpr AAX_EStemFormat AAX_STEM_FORMAT(int16_t layoutIndex, uint16_t channels)
{
  return static_cast<AAX_EStemFormat>(
      (static_cast<uint32_t>(static_cast<uint16_t>(layoutIndex)) << 16) | channels);
}

// Numeric property identifier (the numbers of the effect description, for example 11 for the
// manufacturer identifier); also names the cycle counts of the controller.
enum AAX_EProperty : int32_t
{
};

// Kind of a host parameter: 0 discrete, 1 continuous.
enum AAX_EParameterType : int32_t
{
  AAX_eParameterType_Discrete = 0,
  AAX_eParameterType_Continuous = 1
};

// Where a parameter update comes from. Only the values are fixed here:
// 0 is the plain update; 1, 2 and 3 are the host's.
enum AAX_EUpdateSource : int32_t
{
};

// Transport time-code and feet-frames rates (transport version 2); the host's values.
enum AAX_EFrameRate : int32_t
{
};
enum AAX_EFeetFramesRate : int32_t
{
};

// Selector of a custom plug-in text (AAX_IACFEffectGUI::GetCustomLabel); the host's values.
enum AAX_EPlugInStrings : int32_t
{
};

// Colour of a control highlight (AAX_IACFEffectGUI::SetControlHighlightInfo); the host's values.
enum AAX_EHighlightColor : int32_t
{
};

// Text encoding of a file path (page-table controller version 2); the host's values.
enum AAX_ETextEncoding : int32_t
{
};

// Host trace priorities used by the system.
enum AAX_ETracePriorityHost : int32_t
{
  AAX_eTracePriorityHost_Normal = 0x04000000, // parameter manager, checked-result throws
  AAX_eTracePriorityHost_High = 0x08000000,   // chunk writer errors, registration failures
  AAX_eTracePriorityHost_Lowest = 0x01000000  // stack trace requests
};

// Option value of every assertion report sent to the host.
constexpr int32_t AAX_kAssertFlags = 3;

// A point in an editor: vertical coordinate first.
struct AAX_Point
{
  float vert;
  float horz;
};

// A rectangle in an editor.
struct AAX_Rect
{
  float top;
  float left;
  float width;
  float height;
};

// One MIDI message as the host hands it over.
struct AAX_CMidiPacket
{
  uint32_t mTimestamp;       // sample offset in the current buffer
  uint32_t mLength;          // number of valid bytes in mData
  uint8_t mData[4];          // the message bytes
  AAX_CBoolean mIsImmediate; // true when the message is not time-stamped
};
