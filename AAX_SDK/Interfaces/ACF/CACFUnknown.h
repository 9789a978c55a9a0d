// CACFUnknown: reference counting and interface queries for the module's
// components, and the module-wide live-object count.
#pragma once

#include "acfunknown.h"

// Atomically (sequentially consistent) adds / removes one from *p and returns
// the new value. Exported by the module. [any]
extern "C" ACF_EXPORT acfUInt32 ACFInterlockedIncrement(acfUInt32* p);
extern "C" ACF_EXPORT acfUInt32 ACFInterlockedDecrement(acfUInt32* p);

// Base of every object the module hands to the host (the effect parameters,
// AAX_CEffectParameters, and the effect GUI, AAX_CEffectGUI).
//
// The object's public QueryInterface / AddRef / Release (those of the host
// interface it implements) forward to the outer unknown through the External*
// operations; ACF_DECLARE_STANDARD_UNKNOWN writes that forwarding. Without
// aggregation the outer unknown is the private unknown, whose operations end in
// the Internal* ones. A new object has a count of 0: whoever hands it out takes
// the first reference (through QueryInterface or AddRef).
class CACFUnknown
{
public:
  // Constructed with no outer unknown (the only way the module builds its
  // objects) the object aggregates nothing and forwards to its own private unknown.
  // Construction counts the object as live; destruction counts it out.
  explicit CACFUnknown(IACFUnknown* pUnkOuter = nullptr);
  virtual ~CACFUnknown();

  // Called once by whoever creates the object; base: nothing, 0. [host]
  virtual ACFRESULT InitializeInstance(IACFUnknown* pUnkOuter);
  // Called when the count reaches 0, before ReclaimMemory. Base: nothing. [any]
  virtual void FinalRelease();
  // Destroys and frees the object through its virtual destructor. [any]
  virtual void ReclaimMemory();
  // Base rule: null first; IID_IACFUnknown → the private unknown with one added
  // reference, 0; anything else → ACF_E_NOINTERFACE (0x80000004). Derived
  // classes answer their own identifiers and pass the rest here. [any]
  virtual ACFRESULT InternalQueryInterface(const acfIID& riid, void** ppvObjOut);
  // Atomic increment; the new count. [any]
  virtual acfUInt32 InternalAddRef();
  // Atomic decrement; at 0 FinalRelease then ReclaimMemory. The new count. [any]
  virtual acfUInt32 InternalRelease();

  // Forward to the outer unknown. [any]
  ACFRESULT ExternalQueryInterface(const acfIID& riid, void** ppvObjOut);
  acfUInt32 ExternalAddRef();
  acfUInt32 ExternalRelease();

  // The object's own IACFUnknown (identity of the object). Borrowed pointer.
  IACFUnknown* GetPrivateUnknown();

  // The module-wide live-object count (ACFCanUnloadNow reports it). [any]
  static acfUInt32 IncrementActiveObjects();
  static acfUInt32 DecrementActiveObjects();
  static acfUInt32 GetActiveObjectCount();

  // Reference count, for tests and diagnostics.
  acfUInt32 GetRefCount() const;

  CACFUnknown(const CACFUnknown&) = delete;
  CACFUnknown& operator=(const CACFUnknown&) = delete;

  // The private unknown: an IACFUnknown whose operations call the owner's
  // Internal* operations.
  class PrivateUnknown final : public IACFUnknown
  {
  public:
    explicit PrivateUnknown(CACFUnknown* owner) : m_This(owner) {}
    ACFRESULT QueryInterface(const acfIID& riid, void** ppvObjOut) override;
    acfUInt32 AddRef() override;
    acfUInt32 Release() override;

  private:
    CACFUnknown* m_This; // back pointer to the owning object
  };

private:
  acfUInt32 m_cRef;         // reference count, changed only atomically
  IACFUnknown* m_pUnkOuter; // where the public operations go
  PrivateUnknown m_PrivateUnknown;

  static acfUInt32 m_ActiveObjects; // live objects of the module; 0 at load
};

// Public IACFUnknown operations of a class deriving from a host interface and
// CACFUnknown: they forward to the outer unknown.
#define ACF_DECLARE_STANDARD_UNKNOWN()                                                             \
  ACFRESULT QueryInterface(const acfIID& riid, void** ppv) override                                \
  {                                                                                                \
    return this->ExternalQueryInterface(riid, ppv);                                                \
  }                                                                                                \
  acfUInt32 AddRef() override { return this->ExternalAddRef(); }                                   \
  acfUInt32 Release() override { return this->ExternalRelease(); }
