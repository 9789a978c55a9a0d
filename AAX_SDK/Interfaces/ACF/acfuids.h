// Identifiers of the component model itself, exported as 16-byte data.
// Values: AAX_SDK/Libs/AAXLibrary/source/AAX_UIDs.cpp.
//
// Left out on purpose: the rest of the published ACF set (ACFCompType_*,
// ACFCompID_*, ACFTypeID_*, ACFLayerID_*, AVXInputTypeID_*, AVXOutputTypeID_*,
// AVXTypeID_*, ACFATTR_*, ACF_WIDGET_*, AVXInterpID_*, AVXExtrapID_*, AAXATTR_*,
// IID_IACFClassFactory, IID_IACFComponentDefinition, IID_IACFEnumDefinitions),
// whose values we do not have (they are not invented here).
#pragma once

#include "acfbasetypes.h"

ACF_EXPORT extern const acfIID IID_IACFUnknown;          // 00000000-0000-0000-C000-000000000046
ACF_EXPORT extern const acfIID IID_IACFPluginDefinition; // 00EEF015-7FD0-11D6-8485-00306542A024
ACF_EXPORT extern const acfIID IID_IACFComponentFactory; // 382B6A96-7FD0-11D6-BCFE-00306542A024
ACF_EXPORT extern const acfIID IID_IACFDefinition;       // E51741F1-7FCF-11D6-AAC3-00306542A024

// The published identifiers that are all zero.
ACF_EXPORT extern const acfUID acfUID_NULL;
ACF_EXPORT extern const acfUID ACF_CUSTOM_DATAGRAPH;
ACF_EXPORT extern const acfUID ABOUT_BOX_GUID;
