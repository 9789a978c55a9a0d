#include "IPlugAAX.h"

IPlugAAX::IPlugAAX(IPlugInstanceInfo /*instanceInfo*/, int nParams, const char* channelIOStr,
                   int nPresets, const char* effectName, const char* productName,
                   const char* mfrName, int vendorVersion, int uniqueID, int mfrID, int latency,
                   bool plugDoesMidi, bool plugDoesChunks, bool plugIsInst, int plugScChans)
    : IPlugBase(nParams, channelIOStr, nPresets, effectName, productName, mfrName, vendorVersion,
                uniqueID, mfrID, latency, plugDoesMidi, plugDoesChunks, plugIsInst, kAPIAAX),
      mSideChainChannels(plugScChans)
{
  SetInputChannelConnections(0, NInChannels(), true);
  SetOutputChannelConnections(0, NOutChannels(), true);
  if (NInChannels())
  {
    mDelay = new NChanDelayLine(NInChannels(), NOutChannels());
    mDelay->SetDelayTime(latency);
  }
  SetBlockSize(1024);
  SetHost("ProTools", vendorVersion);
}

void IPlugAAX::GetTimeSig(int* pNum, int* pDenom)
{
  *pNum = 4;
  *pDenom = 4;
}

void IPlugAAX::SetParameterFromHost(int paramIdx, double normalizedValue)
{
  IParam* param = GetParam(paramIdx);
  if (!param) return;
  IMutexLock lock(this);
  param->SetNormalized(normalizedValue);
  if (IGraphics* gui = GetGUI()) gui->SetParameterFromPlug(paramIdx, normalizedValue, true);
  OnParamChange(paramIdx);
}

void IPlugAAX::RenderFloatBlock(float** inputs, int nIn, float** outputs, int nOut, int nFrames,
                                bool bypass)
{
  IMutexLock lock(this);
  SetInputChannelConnections(0, nIn, true);
  SetInputChannelConnections(nIn, NInChannels() - nIn, false);
  AttachInputBuffers(0, NInChannels(), inputs, nFrames);
  SetOutputChannelConnections(0, nOut, true);
  SetOutputChannelConnections(nOut, NOutChannels() - nOut, false);
  AttachOutputBuffers(0, NOutChannels(), outputs);
  if (bypass)
    PassThroughBuffers(0.0f, nFrames);
  else
    ProcessBuffers(0.0f, nFrames);
}
