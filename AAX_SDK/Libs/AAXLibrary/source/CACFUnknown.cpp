#include "ACF/CACFUnknown.h"

#include "ACF/acfuids.h"

// Sequentially consistent read-modify-write: counts change from any host thread.
extern "C" acfUInt32 ACFInterlockedIncrement(acfUInt32* p)
{
  return __atomic_add_fetch(p, 1u, __ATOMIC_SEQ_CST);
}

extern "C" acfUInt32 ACFInterlockedDecrement(acfUInt32* p)
{
  return __atomic_sub_fetch(p, 1u, __ATOMIC_SEQ_CST);
}

acfUInt32 CACFUnknown::m_ActiveObjects = 0;

CACFUnknown::CACFUnknown(IACFUnknown* pUnkOuter)
    : m_cRef(0), m_pUnkOuter(nullptr), m_PrivateUnknown(this)
{
  m_pUnkOuter = pUnkOuter ? pUnkOuter : static_cast<IACFUnknown*>(&m_PrivateUnknown);
  IncrementActiveObjects();
}

CACFUnknown::~CACFUnknown() { DecrementActiveObjects(); }

ACFRESULT CACFUnknown::InitializeInstance(IACFUnknown*) { return ACF_OK; }

void CACFUnknown::FinalRelease() {}

void CACFUnknown::ReclaimMemory() { delete this; }

ACFRESULT CACFUnknown::InternalQueryInterface(const acfIID& riid, void** ppvObjOut)
{
  if (!ppvObjOut) return ACF_E_UNEXPECTED;
  *ppvObjOut = nullptr;
  if (riid == IID_IACFUnknown)
  {
    *ppvObjOut = static_cast<IACFUnknown*>(&m_PrivateUnknown);
    m_PrivateUnknown.AddRef();
    return ACF_OK;
  }
  return ACF_E_NOINTERFACE;
}

acfUInt32 CACFUnknown::InternalAddRef() { return ACFInterlockedIncrement(&m_cRef); }

acfUInt32 CACFUnknown::InternalRelease()
{
  const acfUInt32 count = ACFInterlockedDecrement(&m_cRef);
  if (count == 0)
  {
    FinalRelease();
    ReclaimMemory();
  }
  return count;
}

ACFRESULT CACFUnknown::ExternalQueryInterface(const acfIID& riid, void** ppvObjOut)
{
  return m_pUnkOuter->QueryInterface(riid, ppvObjOut);
}

acfUInt32 CACFUnknown::ExternalAddRef() { return m_pUnkOuter->AddRef(); }

acfUInt32 CACFUnknown::ExternalRelease() { return m_pUnkOuter->Release(); }

IACFUnknown* CACFUnknown::GetPrivateUnknown() { return &m_PrivateUnknown; }

acfUInt32 CACFUnknown::IncrementActiveObjects()
{
  return ACFInterlockedIncrement(&m_ActiveObjects);
}

acfUInt32 CACFUnknown::DecrementActiveObjects()
{
  return ACFInterlockedDecrement(&m_ActiveObjects);
}

acfUInt32 CACFUnknown::GetActiveObjectCount()
{
  return __atomic_load_n(&m_ActiveObjects, __ATOMIC_SEQ_CST);
}

acfUInt32 CACFUnknown::GetRefCount() const { return __atomic_load_n(&m_cRef, __ATOMIC_SEQ_CST); }

ACFRESULT CACFUnknown::PrivateUnknown::QueryInterface(const acfIID& riid, void** ppvObjOut)
{
  return m_This->InternalQueryInterface(riid, ppvObjOut);
}

acfUInt32 CACFUnknown::PrivateUnknown::AddRef() { return m_This->InternalAddRef(); }

acfUInt32 CACFUnknown::PrivateUnknown::Release() { return m_This->InternalRelease(); }
