// The stand-in host's side of one effect instance, as a workstation drives
// it: the effect-parameters object made by the creation procedure and
// initialised with the host object, the field-data initialisation of its
// render contexts, and the editor object with its view container.
#pragma once

#include "AAX_IACFEffectGUI.h"
#include "AAX_IACFEffectParameters.h"
#include "HostRenderContext.h"
#include "StandInHost.h"

namespace aaxhost
{
// A creation procedure as the description registers it: a new object with no
// references yet; the host takes the first through QueryInterface.
using CreationProc = IACFUnknown* (*)();

class HostInstance
{
public:
  // Calls create and takes one reference through the highest effect-parameters
  // version the object answers (4 down to 1). Valid() is false when create
  // gave null or the object answers no version. The host must outlive this.
  HostInstance(StandInHost& host, CreationProc create);
  // Closes the editor, uninitialises when initialised, releases the object.
  ~HostInstance();
  HostInstance(const HostInstance&) = delete;
  HostInstance& operator=(const HostInstance&) = delete;

  bool Valid() const { return mParams != nullptr; }
  int Version() const { return mVersion; } // 1..4, 0 when not valid
  // The object through its version-1 table (every version starts with it).
  AAX_IACFEffectParameters* Parameters() const { return mParams; }
  // The whole table, or null when the object answered only an earlier version.
  AAX_IACFEffectParameters_V4* ParametersV4() const;

  // [host] Initialize / Uninitialize with the host object.
  AAX_Result Initialize();
  AAX_Result Uninitialize();
  bool Initialized() const { return mInitialized; }

  // [host] The host's field-data initialisation of a context for this
  // instance: ResetFieldData for every private-data field (the private block
  // first). The first failing result, or 0.
  AAX_Result InitializeFieldData(RenderContext& context) const;

  // [host] While on, the host's automation delegate sends every set request
  // straight back to this instance's UpdateParameterNormalizedValue.
  void EchoAutomation(bool on);

  // ---- The editor ----

  // [host] Creates the editor (creation procedure 1), takes its interface and
  // initialises it on a host object of this instance (it answers this
  // instance's effect parameters; the editor keeps it until CloseEditor).
  // Editors of different instances may be opened from different threads at
  // once. -20011 without an instance, -20004 when create gives null or the
  // object is not an editor; otherwise Initialize's result.
  AAX_Result OpenEditor(CreationProc create);
  AAX_IACFEffectGUI* Editor() const { return mEditor; }
  // [gui] Hands the editor a new host view container whose native view is
  // nativeView (an X11 window id, HeadlessView() or null). -20011 without an
  // editor.
  AAX_Result AttachView(void* nativeView);
  HostViewContainer* View() const { return mView.get(); }
  // [gui] Takes the view container away again (nothing when none is attached).
  AAX_Result DetachView();
  // [host] Detaches the view, uninitialises and releases the editor.
  void CloseEditor();

  // The native view handed to editors that have no window system.
  static void* HeadlessView();

private:
  StandInHost& mHost;
  AAX_IACFEffectParameters* mParams = nullptr; // one reference
  int mVersion = 0;
  bool mInitialized = false;
  bool mEchoing = false;
  AAX_IACFEffectGUI* mEditor = nullptr; // one reference
  Ref<HostObject> mEditorHost;          // the host object the editor was given
  Ref<HostViewContainer> mView;
};
} // namespace aaxhost
