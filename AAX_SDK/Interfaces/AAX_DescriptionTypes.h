// Types of the effect description: procedure pointers the module registers,
// procedure and selector identifiers, the plug-in identifier triad, the
// property numbers and stem formats the description code names.
#pragma once

#include "ACF/acfunknown.h"
#include "AAX.h"

// The native render procedure: called with the first element of an array of
// render-context pointers and a pointer just past its last element. [audio]
typedef void (*AAX_CProcessProc)(void* const inInstancesBegin[], const void* inInstancesEnd);
// Per-instance initialisation of a render context (action values are the host's). [host]
typedef int32_t (*AAX_CInstanceInitProc)(const void* inInstanceContextPtr, int32_t inAction);
// Background procedure, called by the host when idle. [host]
typedef int32_t (*AAX_CBackgroundProc)();
// A creation procedure: a new object, returned as its own host interface with
// the one reference the host takes over. [host]
typedef IACFUnknown* (*AAX_CCreateObjectProc)();

// Identifier of a registered process procedure, assigned by the host.
typedef uint32_t AAX_CSelector;
// Identifier under which a creation procedure is registered (0 effect
// parameters, 1 effect GUI).
typedef uint32_t AAX_CProcPtrID;

// Kinds of values whose meaning is the host's; only the numbers the module
// passes are fixed by the module.
enum AAX_EMIDINodeType : int32_t
{
};
enum AAX_EResourceType : int32_t
{
};
enum AAX_EDataInPortType : int32_t
{
};
enum AAX_EDmaMode : int32_t
{
};
enum AAX_ESupportLevel : int32_t
{
};

// Manufacturer, product and plug-in type identifiers of one plug-in type.
struct AAX_SPlugInIdentifierTriad
{
  AAX_CTypeID mManufacturerID;
  AAX_CTypeID mProductID;
  AAX_CTypeID mPlugInID;
};

// The property numbers the module's own code reads or writes by name.
constexpr AAX_EProperty AAX_eProperty_ManufacturerID = AAX_EProperty(11);
constexpr AAX_EProperty AAX_eProperty_ProductID = AAX_EProperty(12);
constexpr AAX_EProperty AAX_eProperty_PlugInID_Native = AAX_EProperty(13);
constexpr AAX_EProperty AAX_eProperty_PlugInID_AudioSuite = AAX_EProperty(14);
constexpr AAX_EProperty AAX_eProperty_PlugInID_TI = AAX_EProperty(15);
// Pointer properties 36..42: the process procedures and their names.
constexpr AAX_EProperty AAX_eProperty_NativeProcessProc = AAX_EProperty(36);
constexpr AAX_EProperty AAX_eProperty_NativeInstanceInitProc = AAX_EProperty(37);
constexpr AAX_EProperty AAX_eProperty_NativeBackgroundProc = AAX_EProperty(38);
constexpr AAX_EProperty AAX_eProperty_TIDLLFileName = AAX_EProperty(39);
constexpr AAX_EProperty AAX_eProperty_TIProcessProc = AAX_EProperty(40);
constexpr AAX_EProperty AAX_eProperty_TIInstanceInitProc = AAX_EProperty(41);
constexpr AAX_EProperty AAX_eProperty_TIBackgroundProc = AAX_EProperty(42);
constexpr AAX_EProperty AAX_eProperty_InputStemFormat = AAX_EProperty(51);
constexpr AAX_EProperty AAX_eProperty_OutputStemFormat = AAX_EProperty(52);
constexpr AAX_EProperty AAX_eProperty_AudioBufferLength = AAX_EProperty(54);

// Stem formats that carry no layout: "no format" (layout -100, 0 channels) and
// layout -1 with 0 channels.
constexpr AAX_EStemFormat AAX_eStemFormat_None = AAX_STEM_FORMAT(-100, 0); // 0xFF9C0000
constexpr AAX_EStemFormat AAX_eStemFormat_Any = AAX_STEM_FORMAT(-1, 0);    // 0xFFFF0000
