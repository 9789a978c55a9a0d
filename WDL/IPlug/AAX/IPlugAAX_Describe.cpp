#include "IPlugAAX_Describe.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"

#include <cstdio>
#include <string>

namespace
{
// The source name and lines the host sees in this file's assertion reports.
const char* const kDescribeSource = "WDL/IPlug/AAX/IPlugAAX_Describe";
constexpr int32_t kComponentAssertLine = 140;
constexpr int32_t kEffectAssertLine = 160;

void ReportFailure(int32_t line)
{
  AAX_CHostServices::HandleAssertFailure(kDescribeSource, line, "err == AAX_SUCCESS",
                                         AAX_kAssertFlags);
}

// Calls f for each piece of text up to the next separator; an empty piece ends
// the walk, as does the end of the text.
template <class F> void ForEachPiece(const char* text, char separator, F f)
{
  if (!text) return;
  std::string rest(text);
  while (!rest.empty())
  {
    const size_t at = rest.find(separator);
    const std::string piece = rest.substr(0, at);
    if (piece.empty()) return;
    f(piece);
    if (at == std::string::npos) return;
    rest.erase(0, at + 1);
  }
}

constexpr int32_t kNoMIDIFieldSize = 4; // placeholder of an unused node field
} // namespace

AAX_SIPlugSetupInfo::AAX_SIPlugSetupInfo()
    : mNeedsGlobalMIDI(false), mGlobalMIDINodeName("GlobalMIDI"), mGlobalMIDIEventMask(0xFFFF),
      mNeedsInputMIDI(false), mInputMIDINodeName("InputMIDI"), mInputMIDIChannelMask(0xFFFF),
      mNeedsTransport(false), mTransportMIDINodeName("Transport"), mNumMeters(0),
      mMeterIDs(nullptr), mNumAuxOutputStems(0), mAuxOutputStemNames(), mAuxOutputStemFormats(),
      mInputStemFormat(1), mOutputStemFormat(1), mProperty151(false), mProperty60(true),
      mManufacturerID(AAX_kTypeID_None), mProductID(AAX_kTypeID_None), mPluginID(AAX_kTypeID_None),
      mAudiosuiteID(AAX_kTypeID_None), mProperty56(0), mWantsSideChain(false)
{
  for (int32_t& f : mAuxOutputStemFormats)
    f = 1;
}

AAX_EStemFormat getStemFormatForChans(int numChans)
{
  switch (numChans)
  {
  case 1:
    return AAX_STEM_FORMAT(0, 1);
  case 2:
    return AAX_STEM_FORMAT(1, 2);
  case 3:
    return AAX_STEM_FORMAT(2, 3);
  case 4:
    return AAX_STEM_FORMAT(4, 4);
  case 5:
    return AAX_STEM_FORMAT(5, 5);
  case 6:
    return AAX_STEM_FORMAT(6, 6);
  case 7:
    return AAX_STEM_FORMAT(8, 7);
  case 8:
    return AAX_STEM_FORMAT(12, 8);
  default:
    return AAX_eStemFormat_None;
  }
}

AAX_Result IPlugAAX_DescribeComponent(AAX_IEffectDescriptor* descriptor,
                                      const AAX_SIPlugSetupInfo& setup, AAX_CProcessProc renderProc)
{
  if (!descriptor) return AAX_ERROR_NULL_OBJECT;
  AAX_IComponentDescriptor* c = descriptor->NewComponentDescriptor();
  if (!c) return AAX_ERROR_NULL_OBJECT;
  AAX_Result err = AAX_SUCCESS;

  // Render-context fields: 0 audio in, 1 audio out, 2 buffer length, 3 side
  // chain, 5 input MIDI, 6 global MIDI, 7 transport, 8 private block, 9 meters.
  err |= setup.mNeedsGlobalMIDI ? c->AddMIDINode(6, AAX_EMIDINodeType(2), setup.mGlobalMIDINodeName,
                                                 setup.mGlobalMIDIEventMask)
                                : c->AddPrivateData(6, kNoMIDIFieldSize, 0);
  err |= setup.mNeedsInputMIDI ? c->AddMIDINode(5, AAX_EMIDINodeType(0), setup.mInputMIDINodeName,
                                                setup.mInputMIDIChannelMask)
                               : c->AddPrivateData(5, kNoMIDIFieldSize, 0);
  err |= setup.mNeedsTransport ? c->AddMIDINode(7, AAX_EMIDINodeType(3), "Transport", 0xFFFF)
                               : c->AddPrivateData(7, kNoMIDIFieldSize, 0);
  err |= c->AddAudioIn(0);
  err |= c->AddAudioOut(1);
  if (setup.mWantsSideChain) err |= c->AddSideChainIn(3);
  err |= c->AddAudioBufferLength(2);
  err |= setup.mNumMeters >= 1 ? c->AddMeters(9, setup.mMeterIDs, setup.mNumMeters)
                               : c->AddPrivateData(9, kNoMIDIFieldSize, 0);
  const int32_t stems = setup.mNumAuxOutputStems < 16 ? setup.mNumAuxOutputStems : 16;
  for (int32_t i = 0; i < stems; ++i)
    err |= c->AddAuxOutputStem(0, setup.mAuxOutputStemFormats[i], setup.mAuxOutputStemNames[i]);
  err |= c->AddPrivateData(8, 8, 0); // the private block: the instance pointer

  AAX_IPropertyMap* p = c->NewPropertyMap();
  if (!p) return err | AAX_ERROR_NULL_OBJECT;
  if (setup.mProperty151) err |= p->AddProperty(AAX_EProperty(151), 1);
  err |= p->AddProperty(AAX_EProperty(56), setup.mProperty56);
  err |= p->AddProperty(AAX_eProperty_InputStemFormat, setup.mInputStemFormat);
  err |= p->AddProperty(AAX_eProperty_OutputStemFormat, setup.mOutputStemFormat);
  if (setup.mWantsSideChain) err |= p->AddProperty(AAX_EProperty(116), 1);
  err |= p->AddProperty(AAX_EProperty(60), setup.mProperty60 ? 1 : 0);
  err |= p->AddProperty(AAX_eProperty_ManufacturerID, static_cast<int32_t>(setup.mManufacturerID));
  err |= p->AddProperty(AAX_eProperty_ProductID, static_cast<int32_t>(setup.mProductID));
  err |= p->AddProperty(AAX_eProperty_PlugInID_Native, static_cast<int32_t>(setup.mPluginID));
  if (setup.mAudiosuiteID != AAX_kTypeID_None)
    err |= p->AddProperty(AAX_eProperty_PlugInID_AudioSuite,
                          static_cast<int32_t>(setup.mAudiosuiteID));

  err |= c->AddProcessProc_Native(renderProc, p, nullptr, nullptr, nullptr);
  err |= descriptor->AddComponent(c);
  return err;
}

AAX_Result IPlugAAX_DescribeEffects(AAX_ICollection* collection, const IPlugAAX_EffectIdentity& id,
                                    const IPlugAAX_DescriptionProcs& procs)
{
  if (!collection) return AAX_ERROR_NULL_OBJECT;
  AAX_IEffectDescriptor* descriptor = collection->NewDescriptor();
  if (!descriptor) return AAX_ERROR_NULL_OBJECT;
  AAX_Result err = AAX_SUCCESS;

  ForEachPiece(id.names, '\n',
               [&](const std::string& name)
               {
                 err |= descriptor->AddName(name.c_str());
                 collection->AddPackageName(name.c_str());
               });
  err |= descriptor->AddCategory(id.category);

  int configIndex = 0;
  ForEachPiece(id.channelIO, ' ',
               [&](const std::string& piece)
               {
                 int nIn = 0, nOut = 0;
                 if (std::sscanf(piece.c_str(), "%d-%d", &nIn, &nOut) != 2) return;
                 // The type-ID tables name two configurations; further ones
                 // would have no plug-in IDs, so they are not described.
                 if (configIndex >= 2) return;
                 AAX_SIPlugSetupInfo setup;
                 setup.mInputStemFormat = getStemFormatForChans(nIn);
                 setup.mOutputStemFormat = getStemFormatForChans(nOut);
                 setup.mManufacturerID = id.manufacturerID;
                 setup.mProductID = id.productID;
                 setup.mPluginID = id.nativeTypeIDs[configIndex];
                 setup.mAudiosuiteID = id.offlineTypeIDs[configIndex];
                 setup.mProperty60 = true;
                 setup.mNeedsInputMIDI = false;
                 setup.mInputMIDINodeName = id.inputMIDINodeName;
                 setup.mInputMIDIChannelMask = 1;
                 setup.mNeedsTransport = true;
                 setup.mProperty56 = 0;
                 setup.mWantsSideChain = false;
                 err |= procs.describeComponent ? procs.describeComponent(descriptor, setup)
                                                : AAX_Result(AAX_ERROR_NULL_OBJECT);
                 if (err != AAX_SUCCESS) ReportFailure(kComponentAssertLine);
                 ++configIndex;
               });

  err |= descriptor->AddProcPtr(reinterpret_cast<void*>(procs.createEffectParameters), 0);
  err |= descriptor->AddProcPtr(reinterpret_cast<void*>(procs.createEffectGUI), 1);
  if (err == AAX_SUCCESS) err = collection->AddEffect(id.effectID, descriptor);
  if (err != AAX_SUCCESS) ReportFailure(kEffectAssertLine);

  ForEachPiece(id.manufacturerNames, '\n',
               [&](const std::string& name) { collection->SetManufacturerName(name.c_str()); });
  collection->SetPackageVersion(id.packageVersion);
  return err;
}
