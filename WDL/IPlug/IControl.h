#pragma once
// IControl and the standard controls: rectangles of the editor that draw
// themselves into the container's drawing bitmap, react to the mouse and
// keys the container routes to them, and may be bound to a plug-in
// parameter. Values are normalised (0-1). A user's change reaches the plug-in
// through IPlugBase::SetParameterFromGUI; changes from the plug-in come back
// as SetValueFromPlug. Everything here runs on the GUI thread.
//
// Redraw protocol: the container polls IsDirty, draws, then calls SetClean.
// A value change sets both the dirty and the redraw-pending flag, so SetClean
// leaves the control dirty once more: every change is drawn on two passes.

#include "IGraphics.h"
#include "IGraphicsStructs.h"
#include "heapbuf.h"
#include "wdlstring.h"

class IParam;
class IPlugBase;
class ITextControl;

enum EDirection
{
  kVertical = 0,
  kHorizontal = 1
};

// Opacity of a grayed-out control.
constexpr float GRAYED_ALPHA = 0.25f;
// Knob drag gearing: pixels of the control's height per full turn.
constexpr double DEFAULT_GEARING = 4.0;

class IControl
{
public:
  struct AuxParam
  {
    double mValue = 0.0;
    int mParamIdx = 0;
  };

  // pPlug is borrowed; paramIdx -1 binds no parameter.
  IControl(IPlugBase* pPlug, IRECT pR, int paramIdx = -1,
           IChannelBlend blendMethod = IChannelBlend::kBlendNone);

  // ---- Virtual operations, in table order ----

  virtual ~IControl() = default;
  // Base: with the right button, prompt for a value.
  virtual void OnMouseDown(int x, int y, IMouseMod* pMod);
  virtual void OnMouseUp(int /*x*/, int /*y*/, IMouseMod* /*pMod*/) {}
  virtual void OnMouseDrag(int /*x*/, int /*y*/, int /*dX*/, int /*dY*/, IMouseMod* /*pMod*/) {}
  // Base: back to the default value once it is known.
  virtual void OnMouseDblClick(int x, int y, IMouseMod* pMod);
  virtual void OnMouseWheel(int /*x*/, int /*y*/, IMouseMod* /*pMod*/, int /*d*/) {}
  // True when the control took the key.
  virtual bool OnKeyDown(int /*x*/, int /*y*/, int /*key*/) { return false; }
  virtual void OnMouseOver(int /*x*/, int /*y*/, IMouseMod* /*pMod*/) {}
  virtual void OnMouseOut() {}
  // Draws into pGraphics' bitmap; false when drawing failed.
  virtual bool Draw(IGraphics* pGraphics) = 0;
  // A value from the plug-in: the first one also becomes the default. Does
  // not call back into the plug-in.
  virtual void SetValueFromPlug(double value);
  // A value the user chose (menu, text entry): sent to the plug-in.
  virtual void SetValueFromUserInput(double value);
  virtual void TextFromTextEntry(const char* /*txt*/) {}
  virtual void Hide(bool hide);
  // Grayed controls draw at a quarter of their opacity and ignore clicks.
  virtual void GrayOut(bool gray);
  virtual bool IsHit(int x, int y) { return mTargetRECT.Contains(x, y); }
  // Clamps the value and marks the control dirty; with pushParamToPlug the
  // value goes to the plug-in (SetParameterFromGUI). Updates the value- and
  // name-display controls.
  virtual void SetDirty(bool pushParamToPlug = true);
  virtual void SetClean();
  virtual bool IsDirty() { return mDirty; }
  virtual void OnGUIIdle() {}
  // A value for the auxiliary parameter at auxParamIdx (a position in this
  // control's list, which must exist).
  virtual void SetAuxParamValueFromPlug(int auxParamIdx, double value);

  // ---- Non-virtual operations ----

  int ParamIdx() const { return mParamIdx; }
  // The bound parameter, or null when the index names none.
  IParam* GetParam();
  IRECT* GetRECT() { return &mRECT; }
  IRECT* GetTargetRECT() { return &mTargetRECT; }
  void SetTargetArea(IRECT pR) { mTargetRECT = pR; }
  double GetValue() const { return mValue; }
  double GetDefaultValue() const { return mDefaultValue; }
  bool IsHidden() const { return mHide; }
  bool IsGrayed() const { return mGrayed; }
  bool GetMOWhenGrayed() const { return mMOWhenGrayed; }
  bool MouseDblAsSingleClick() const { return mDblAsSingleClick; }
  void SetMOWhenGrayed(bool allow) { mMOWhenGrayed = allow; }
  void SetDblAsSingleClick(bool single) { mDblAsSingleClick = single; }
  bool PromptDisabled() const { return mDisablePrompt; }
  void DisablePrompt(bool disable) { mDisablePrompt = disable; }
  void Clamp(double lo, double hi)
  {
    mClampLo = lo;
    mClampHi = hi;
  }
  void SetTooltip(const char* tooltip) { mTooltip.Set(tooltip ? tooltip : ""); }
  const char* GetTooltip() const { return mTooltip.Get(); }
  IText* GetText() { return &mText; }
  void SetText(const IText* pTxt) { mText = *pTxt; }
  int GetTextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int len) { mTextEntryLength = len; }
  const IChannelBlend& GetBlend() const { return mBlend; }
  void SetValDisplayControl(ITextControl* pValDisplayControl) { mValDisplayControl = pValDisplayControl; }
  void SetNameDisplayControl(ITextControl* pNameDisplayControl) { mNameDisplayControl = pNameDisplayControl; }
  // Asks for another drawing pass after the next one.
  void Redraw() { mRedraw = true; }
  // Prompts for the bound parameter's value (a menu when it has display
  // texts, else a 40 x 16 text entry centred on the control); nothing
  // unless bound with prompting enabled.
  void PromptUserInput();
  void PromptUserInput(IRECT* pTextRect);

  // Adds an auxiliary parameter (ignored when paramIdx names none).
  void AddAuxParam(int paramIdx);
  // The record at position idx (a programming error outside the list; null in release builds).
  AuxParam* GetAuxParam(int idx);
  // The position holding paramIdx, or -1.
  int AuxParamIdx(int paramIdx) const;
  int NAuxParams() const { return mAuxParams.GetSize(); }
  // Sends every auxiliary value to the plug-in.
  void SetAllAuxParamsFromGUI();

protected:
  // The container this control draws into, or null before the editor is attached.
  IGraphics* GetGUI();

  int mTextEntryLength = 7;
  IText mText;
  IPlugBase* mPlug;
  IRECT mRECT, mTargetRECT;
  int mParamIdx;
  WDL_TypedBuf<AuxParam> mAuxParams;
  double mValue = 0.0, mDefaultValue = -1.0, mClampLo = 0.0, mClampHi = 1.0;
  bool mDirty = true, mHide = false, mGrayed = false, mRedraw = false;
  bool mDisablePrompt = true, mDblAsSingleClick = false, mMOWhenGrayed = false;
  IChannelBlend mBlend;
  ITextControl* mValDisplayControl = nullptr;
  ITextControl* mNameDisplayControl = nullptr;
  WDL_String mTooltip;
};

// Fills its rectangle with a colour. Not bound.
class IPanelControl : public IControl
{
public:
  IPanelControl(IPlugBase* pPlug, IRECT pR, const IColor* pColor)
      : IControl(pPlug, pR), mColor(*pColor)
  {
  }
  bool Draw(IGraphics* pGraphics) override;

protected:
  IColor mColor;
};

// Draws the frame of its picture that its value selects.
class IBitmapControl : public IControl
{
public:
  // The rectangle is one frame of the picture at (x, y).
  IBitmapControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  IBitmapControl(IPlugBase* pPlug, int x, int y, IBitmap* pBitmap,
                 IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone)
      : IBitmapControl(pPlug, x, y, -1, pBitmap, blendMethod)
  {
  }
  // Frame 1 + round(value * (N - 1)), limited to 1..N.
  bool Draw(IGraphics* pGraphics) override;

protected:
  IBitmap mBitmap;
};

// Each click steps the value by 1 / (N - 1), wrapping past 1 to 0.
class ISwitchControl : public IBitmapControl
{
public:
  using IBitmapControl::IBitmapControl;
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* pMod) override { OnMouseDown(x, y, pMod); }
};

// A click prompts for the value instead of stepping it.
class ISwitchPopUpControl : public ISwitchControl
{
public:
  ISwitchPopUpControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                      IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
};

// The picture's frames are the choices: a click on frame i selects i / (N - 1).
class ISwitchFramesControl : public ISwitchControl
{
public:
  ISwitchFramesControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                       bool imagesAreHorizontal = false,
                       IChannelBlend::EBlendMethod blendMethod = IChannelBlend::kBlendNone);
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;

protected:
  WDL_TypedBuf<IRECT> mRECTs;
};

// A click area that toggles between 0 and 1 and draws nothing.
class IInvisibleSwitchControl : public IControl
{
public:
  IInvisibleSwitchControl(IPlugBase* pPlug, IRECT pR, int paramIdx);
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  bool Draw(IGraphics*) override { return true; }
};

// n buttons, each a frame pair of the picture (frame 2 for the active one).
class IRadioButtonsControl : public IControl
{
public:
  IRadioButtonsControl(IPlugBase* pPlug, IRECT pR, int paramIdx, int nButtons, IBitmap* pBitmap,
                       EDirection direction = kVertical, bool reverse = false);
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  bool Draw(IGraphics* pGraphics) override;
  // The rectangle of button i (null outside).
  const IRECT* GetButtonRECT(int i) const;

protected:
  WDL_TypedBuf<IRECT> mRECTs;
  IBitmap mBitmap;
};

// A momentary button: back to 0 on mouse-up.
class IContactControl : public ISwitchControl
{
public:
  using ISwitchControl::ISwitchControl;
  void OnMouseUp(int x, int y, IMouseMod* pMod) override;
};

// A handle picture sliding along a track of the given length.
class IFaderControl : public IControl
{
public:
  IFaderControl(IPlugBase* pPlug, int x, int y, int len, int paramIdx, IBitmap* pBitmap,
                EDirection direction = kVertical, bool onlyHandle = false);
  int GetLength() const { return mLen; }
  int GetHandleHeadroom() const { return mHandleHeadroom; }
  // The handle's rectangle for value (the current value when negative).
  IRECT GetHandleRECT(double value = -1.0) const;
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
  void OnMouseWheel(int x, int y, IMouseMod* pMod, int d) override;
  bool Draw(IGraphics* pGraphics) override;
  bool IsHit(int x, int y) override;

protected:
  virtual void SnapToMouse(int x, int y);
  int mLen, mHandleHeadroom;
  IBitmap mBitmap;
  EDirection mDirection;
  bool mOnlyHandle;
};

// Dragging changes the value; subclasses draw.
class IKnobControl : public IControl
{
public:
  IKnobControl(IPlugBase* pPlug, IRECT pR, int paramIdx, EDirection direction = kVertical,
               double gearing = DEFAULT_GEARING)
      : IControl(pPlug, pR, paramIdx), mDirection(direction), mGearing(gearing)
  {
  }
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod* pMod) override;
  void OnMouseWheel(int x, int y, IMouseMod* pMod, int d) override;

protected:
  EDirection mDirection;
  double mGearing;
};

// A line from the inner to the outer radius at the value's angle.
class IKnobLineControl : public IKnobControl
{
public:
  // Angles in radians, 0 up, clockwise; an outer radius of 0 is half the width.
  IKnobLineControl(IPlugBase* pPlug, IRECT pR, int paramIdx, const IColor* pColor,
                   double innerRadius = 0.0, double outerRadius = 0.0,
                   double minAngle = -0.75 * 3.14159265358979323846,
                   double maxAngle = 0.75 * 3.14159265358979323846,
                   EDirection direction = kVertical, double gearing = DEFAULT_GEARING);
  bool Draw(IGraphics* pGraphics) override;

protected:
  IColor mColor;
  float mMinAngle, mMaxAngle, mInnerRadius, mOuterRadius;
};

// The picture turned by the value's angle (radians) about its centre.
class IKnobRotaterControl : public IKnobControl
{
public:
  IKnobRotaterControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                      double minAngle = -0.75 * 3.14159265358979323846,
                      double maxAngle = 0.75 * 3.14159265358979323846, int yOffsetZeroDeg = 0,
                      EDirection direction = kVertical, double gearing = DEFAULT_GEARING);
  bool Draw(IGraphics* pGraphics) override;

protected:
  IBitmap mBitmap;
  double mMinAngle, mMaxAngle;
  int mYOffset;
};

// A knob drawn as one frame of a picture per value step.
class IKnobMultiControl : public IKnobControl
{
public:
  IKnobMultiControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                    EDirection direction = kVertical, double gearing = DEFAULT_GEARING);
  bool Draw(IGraphics* pGraphics) override;

protected:
  IBitmap mBitmap;
};

// Base, rotating mask and top pictures composed by DrawRotatedMask (degrees).
class IKnobRotatingMaskControl : public IKnobControl
{
public:
  IKnobRotatingMaskControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBase,
                           IBitmap* pMask, IBitmap* pTop, double minAngle = -135.0,
                           double maxAngle = 135.0, EDirection direction = kVertical,
                           double gearing = DEFAULT_GEARING);
  bool Draw(IGraphics* pGraphics) override;

protected:
  IBitmap mBase, mMask, mTop;
  double mMinAngle, mMaxAngle;
};

// A switch whose picture shows only when on; when off it is hit only in a
// second target area.
class IBitmapOverlayControl : public ISwitchControl
{
public:
  IBitmapOverlayControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                        IRECT* pTargetArea)
      : ISwitchControl(pPlug, x, y, paramIdx, pBitmap), mTargetArea(*pTargetArea)
  {
  }
  bool Draw(IGraphics* pGraphics) override;

protected:
  IRECT mTargetArea;
};

// A text in its rectangle. Not bound.
class ITextControl : public IControl
{
public:
  ITextControl(IPlugBase* pPlug, IRECT pR, IText* pText, const char* str = "");
  // Stores a new string (marking the control dirty when it differs).
  virtual void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }
  const char* GetTextString() const { return mStr.Get(); }
  bool Draw(IGraphics* pGraphics) override;

protected:
  WDL_String mStr;
};

// The bound parameter's display text (and label); clicks prompt for a value.
class ICaptionControl : public ITextControl
{
public:
  ICaptionControl(IPlugBase* pPlug, IRECT pR, int paramIdx, IText* pText,
                  bool showParamLabel = true);
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  void OnMouseDblClick(int x, int y, IMouseMod* pMod) override;
  bool Draw(IGraphics* pGraphics) override;

protected:
  bool mShowParamLabel;
};

// Opens a URL (or a backup URL) when clicked; draws nothing.
class IURLControl : public IControl
{
public:
  static constexpr int kMaxURLLen = 256;
  static constexpr int kMaxErrMsgLen = 1024;
  IURLControl(IPlugBase* pPlug, IRECT pR, const char* url, const char* backupURL = nullptr,
              const char* errMsgOnFailure = nullptr);
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  bool Draw(IGraphics*) override { return true; }

protected:
  char mURL[kMaxURLLen], mBackupURL[kMaxURLLen], mErrMsg[kMaxErrMsgLen];
};

// Asks for a file when clicked; the value steps so that the plug-in notices.
class IFileSelectorControl : public IControl
{
public:
  enum EFileSelectorState
  {
    kFSNone,
    kFSSelecting,
    kFSDone
  };
  IFileSelectorControl(IPlugBase* pPlug, IRECT pR, int paramIdx, IBitmap* pBitmap,
                       IGraphics::EFileAction action, const char* dir = "",
                       const char* extensions = "");
  void OnMouseDown(int x, int y, IMouseMod* pMod) override;
  void GetLastSelectedFileForPlug(WDL_String* pStr) { pStr->Set(mFile.Get()); }
  void SetLastSelectedFileFromPlug(const char* file) { mFile.Set(file ? file : ""); }
  bool Draw(IGraphics* pGraphics) override;
  // Dirty, or a selection just finished (which is then forgotten).
  bool IsDirty() override;
  EFileSelectorState GetState() const { return mState; }

protected:
  IBitmap mBitmap;
  WDL_String mFile, mDir, mExtensions;
  IGraphics::EFileAction mFileAction;
  EFileSelectorState mState = kFSNone;
};

// Text drawn from a picture holding one frame per character (space first).
class IBitmapTextControl : public IControl
{
public:
  IBitmapTextControl(IPlugBase* pPlug, IRECT pR, IBitmap* pBitmap, const char* str = "",
                     IText* pText = nullptr, int charWidth = 6, int charHeight = 12,
                     int charOffset = 0, bool multiLine = false, bool vCenter = true);
  void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }
  bool Draw(IGraphics* pGraphics) override;

protected:
  IBitmap mTextBitmap;
  WDL_String mStr;
  int mCharWidth, mCharHeight, mCharOffset;
  bool mMultiLine, mVCenter;
};
