#pragma once
// IGraphics: the editor's graphics container. It owns the ordered list of
// controls, an off-screen drawing bitmap of the editor's size and the drawing
// operations controls use; it decides what to redraw, dispatches mouse and
// key events to controls and connects control values with plug-in
// parameters. A platform subclass supplies the window, the redraw timer, the
// copy to the screen, picture loading, text entry and menus.
//
// The plug-in base reaches the editor only through virtual operations
// (SetParameterFromPlug, PrepDraw, the destructor), so the audio-side library
// links without any of the GUI code; this header therefore only names the
// bitmap, font and host types it points at.
//
// Threads: everything is [gui] unless marked. Parameter values pushed from
// other threads are parked in per-parameter atomic slots and applied to the
// controls by the GUI thread at its next poll, draw or event, so host threads
// never wait for a drawing pass and never touch control state.

#include "IGraphicsStructs.h"
#include "mutex.h"
#include "ptrlist.h"
#include "wdlstring.h"

#include <atomic>
#include <memory>
#include <thread>

class AAX_IViewContainer;
class IControl;
class IParam;
class IPlugBase;
class IPopupMenu;
class LICE_IBitmap;
class LICE_MemBitmap;
class LICE_SysBitmap;

class IGraphics
{
public:
  enum EFileAction
  {
    kFileOpen = 0,
    kFileSave = 1
  };

  // Message box types and answers (ShowMessageBox).
  enum EMessageBox
  {
    kMB_OK = 0,
    kMB_OKCANCEL = 1,
    kMB_YESNOCANCEL = 3,
    kMB_YESNO = 4
  };
  enum EMessageBoxResult
  {
    kIDOK = 1,
    kIDCANCEL = 2,
    kIDYES = 6,
    kIDNO = 7
  };

  // A frame rate of 0 or less becomes 25. The drawing bitmaps are made by
  // PrepDraw. pPlug is borrowed (the plug-in owns the container once attached).
  IGraphics(IPlugBase* pPlug, int w, int h, int refreshFPS = 0);
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Virtual operations, in table order ----

  // Copies the drawing bitmap to the screen; false when it could not.
  virtual bool DrawScreen(IRECT* pR) = 0;
  // Places the text's size in pR (see DrawIText); nothing is drawn.
  virtual bool MeasureIText(IText* pTxt, const char* str, IRECT* pR);
  // Closes an open text entry without applying it.
  virtual void ForceEndUserEdit() = 0;
  // Deletes every control and both bitmaps, prepares new ones of w x h and
  // tells the plug-in (ResizeGraphics).
  virtual void Resize(int w, int h);
  virtual bool WindowIsOpen() { return GetWindow() != nullptr; }
  virtual const char* GetGUIAPI() { return ""; }
  // A modal message box of type EMessageBox; returns an EMessageBoxResult.
  virtual int ShowMessageBox(const char* pText, const char* pCaption, int type) = 0;
  // Shows pMenu; returns the menu holding the chosen item (its chosen index
  // set), or null when nothing was chosen.
  virtual IPopupMenu* CreateIPopupMenu(IPopupMenu* pMenu, IRECT* pAreaRect) = 0;
  // Opens a text entry field in pR prefilled with str. The result reaches
  // SetFromStringAfterPrompt (with a parameter) or the control's TextFromTextEntry.
  virtual void CreateTextEntry(IControl* pControl, IText* pText, IRECT* pTextRect,
                               const char* str = "", IParam* pParam = nullptr) = 0;
  virtual void HostPath(WDL_String* pPath) = 0;
  virtual void PluginPath(WDL_String* pPath) = 0;
  virtual void DesktopPath(WDL_String* pPath) = 0;
  virtual void AppSupportPath(WDL_String* pPath, bool isSystem = false) = 0;
  virtual void SandboxSafeAppSupportPath(WDL_String* pPath) = 0;
  // Asks for a file; pFilename becomes "" when nothing was chosen.
  virtual void PromptForFile(WDL_String* pFilename, EFileAction action = kFileOpen,
                             WDL_String* pDir = nullptr, const char* extensions = "") = 0;
  virtual bool PromptForColor(IColor* pColor, const char* prompt = "") = 0;
  // True when the URL was opened.
  virtual bool OpenURL(const char* url, const char* msgWindowTitle = nullptr,
                       const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) = 0;
  // Opens the editor inside the host's native view; returns the platform view.
  virtual void* OpenWindow(void* pParentWnd) = 0;
  virtual void* OpenWindow(void* /*pParentWnd*/, void* /*pParentControl*/, int /*w*/ = 0,
                           int /*h*/ = 0)
  {
    return nullptr;
  }
  virtual void AttachSubWindow(void* /*hostWindow*/) {}
  virtual void RemoveSubWindow() {}
  virtual void CloseWindow() = 0;
  virtual void* GetWindow() = 0;
  virtual bool GetTextFromClipboard(WDL_String* pStr) = 0;
  // [host] Deletes the key catcher, every control and both bitmaps. Cached
  // pictures and fonts outlive it.
  virtual ~IGraphics();
  virtual void HideMouseCursor() {}
  virtual void ShowMouseCursor() {}
  virtual void UpdateTooltips() = 0;
  // [any] Decodes the picture for a resource; a new bitmap the caller owns, or null.
  virtual LICE_IBitmap* OSLoadBitmap(int ID, const char* name) = 0;

  // What the plug-in base calls.
  // [any] Shows value (normalised when normalized, else real) on every
  // control bound to paramIdx and every control holding it as an auxiliary
  // parameter. Indices that name no parameter are ignored. Off the GUI thread
  // the value is parked and applied at the GUI thread's next poll.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized);
  // [host] Makes the drawing bitmap (w x h) and an empty scratch bitmap.
  virtual void PrepDraw();

  // ---- Layout ----

  // Loads the picture and inserts a bitmap control at (0, 0) first in the list.
  void AttachBackground(int ID, const char* name);
  void AttachPanelBackground(const IColor* pColor);
  // Appends (the container owns pControl); returns its index.
  int AttachControl(IControl* pControl);
  // The control that gets keys no other control takes (owned).
  void AttachKeyCatcher(IControl* pControl);

  // ---- Pictures (the process-wide bitmap cache) ----

  // [any] The picture for ID, decoded once per process. A picture that
  // cannot be loaded is a packaging defect: it fails the check
  // "imgResourceFound" in debug builds; release builds get an IBitmap with a
  // null bitmap, which every draw ignores.
  IBitmap LoadIBitmap(int ID, const char* name, int nStates = 1, bool framesAreHorizontal = false);
  // [any] Puts the picture in the cache (key -1) / removes and deletes it.
  void RetainBitmap(IBitmap* pBitmap);
  void ReleaseBitmap(IBitmap* pBitmap);
  // [any] A new retained picture: the source scaled (bilinear) to w x h, or
  // the part of it in pR; same frame count (frames stacked).
  IBitmap ScaleBitmap(IBitmap* pBitmap, int destW, int destH);
  IBitmap CropBitmap(IBitmap* pBitmap, IRECT* pR);

  // ---- Queries and flags ----

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  IPlugBase* GetPlug() { return mPlug; }
  int NControls() const { return mControls.GetSize(); }
  // Null outside the list.
  IControl* GetControl(int idx) { return mControls.Get(idx); }
  IControl* GetKeyCatcher() { return mKeyCatcher; }
  int GetMouseOver() const { return mMouseOver; }
  int GetMouseX() const { return mMouseX; }
  int GetMouseY() const { return mMouseY; }
  bool TooltipsEnabled() const { return mEnableTooltips; }
  void EnableTooltips(bool enable) { mEnableTooltips = enable; }
  void HandleMouseOver(bool canHandle) { mHandleMouseOver = canHandle; }
  // Sets strict drawing and marks every control dirty.
  void SetStrictDrawing(bool strict);
  void ShowControlBounds(bool show) { mShowControlBounds = show; }
  LICE_SysBitmap* GetDrawBitmap() { return mDrawBitmap; }
  // The drawing bitmap's pixels (row 0 first), or null before PrepDraw.
  unsigned int* GetBits();

  // Set by the host bridge before OpenWindow (borrowed).
  void SetViewContainer(AAX_IViewContainer* pViewContainer) { mAAXViewContainer = pViewContainer; }
  AAX_IViewContainer* GetViewContainer() { return mAAXViewContainer; }

  // ---- Drawing operations (into the drawing bitmap) ----
  // Bitmap draws clip to the draw rectangle of the current pass; the other
  // operations draw what they are asked, clipped to the bitmap. A null blend
  // is an opaque copy with the source's alpha.

  bool DrawBitmap(IBitmap* pBitmap, IRECT* pDest, int srcX, int srcY,
                  const IChannelBlend* pBlend = nullptr);
  // Frames count from 1.
  bool DrawBitmap(IBitmap* pBitmap, IRECT* pDest, int bmState = 1,
                  const IChannelBlend* pBlend = nullptr);
  // Turns the whole picture by angle (radians, clockwise) about its centre
  // at (destCtrX, destCtrY), the rotation centre moved down by yOffsetZeroDeg.
  bool DrawRotatedBitmap(IBitmap* pBitmap, int destCtrX, int destCtrY, double angle,
                         int yOffsetZeroDeg = 0, const IChannelBlend* pBlend = nullptr);
  // Base picture with its alpha cleared, the mask added and the top copied,
  // both turned by angle (degrees); the result drawn at (x, y).
  bool DrawRotatedMask(IBitmap* pBase, IBitmap* pMask, IBitmap* pTop, int x, int y, double angle,
                       const IChannelBlend* pBlend = nullptr);
  bool FillIRect(const IColor* pColor, IRECT* pR, const IChannelBlend* pBlend = nullptr);
  bool DrawPoint(const IColor* pColor, float x, float y, const IChannelBlend* pBlend = nullptr,
                 bool antiAlias = false);
  // Writes the colour's pixel as it is; positions outside the bitmap are ignored.
  bool ForcePixel(const IColor* pColor, int x, int y);
  bool DrawLine(const IColor* pColor, float x1, float y1, float x2, float y2,
                const IChannelBlend* pBlend = nullptr, bool antiAlias = false);
  bool DrawArc(const IColor* pColor, float cx, float cy, float r, float minAngle, float maxAngle,
               const IChannelBlend* pBlend = nullptr, bool antiAlias = false);
  bool DrawCircle(const IColor* pColor, float cx, float cy, float r,
                  const IChannelBlend* pBlend = nullptr, bool antiAlias = false);
  bool RoundRect(const IColor* pColor, IRECT* pR, const IChannelBlend* pBlend, int cornerradius,
                 bool aa);
  bool FillRoundRect(const IColor* pColor, IRECT* pR, const IChannelBlend* pBlend,
                     int cornerradius, bool aa);
  bool FillCircle(const IColor* pColor, int cx, int cy, float r,
                  const IChannelBlend* pBlend = nullptr, bool antiAlias = false);
  bool FillTriangle(const IColor* pColor, int x1, int y1, int x2, int y2, int x3, int y3,
                    const IChannelBlend* pBlend = nullptr);
  bool FillIConvexPolygon(const IColor* pColor, int* x, int* y, int npoints,
                          const IChannelBlend* pBlend = nullptr);
  // One-pixel opaque copies, not antialiased.
  bool DrawVerticalLine(const IColor* pColor, int xi, int yLo, int yHi);
  bool DrawHorizontalLine(const IColor* pColor, int yi, int xLo, int xHi);
  bool DrawRect(const IColor* pColor, IRECT* pR);
  // Through pR at fraction x (0-1) of its width from the left / y of its
  // height from the bottom.
  bool DrawVerticalLine(const IColor* pColor, IRECT* pR, float x);
  bool DrawHorizontalLine(const IColor* pColor, IRECT* pR, float y);
  // From radius rMin to rMax along angle (radians, 0 up, clockwise).
  bool DrawRadialLine(const IColor* pColor, float cx, float cy, float angle, float rMin,
                      float rMax, const IChannelBlend* pBlend = nullptr, bool antiAlias = false);
  // The pixel at (x, y); transparent black outside the bitmap.
  IColor GetPoint(int x, int y);
  // Draws str in pR with the text's font, or with measure only sets pR to
  // the text's extent. True when there was nothing to draw or it was drawn;
  // false when no font could be made.
  bool DrawIText(IText* pTxt, const char* str, IRECT* pR, bool measure = false);

  // ---- Parameter binding (control values are normalised) ----

  // [gui] SetValueFromPlug on one control (ignored outside the list).
  void SetControlFromPlug(int controlIdx, double normalizedValue);
  // SetValueFromUserInput on every control bound to paramIdx.
  void SetParameterFromGUI(int paramIdx, double normalizedValue);
  void SetAllControlsDirty();
  void HideControl(int paramIdx, bool hide);
  void GrayOutControl(int paramIdx, bool gray);
  void ClampControl(int paramIdx, double lo, double hi, bool normalized);
  void AssignParamNameToolTips();
  // A menu for enumerated and boolean parameters with display texts, else
  // a text entry prefilled with the display text. Nothing if any is null.
  void PromptUserInput(IControl* pControl, IParam* pParam, IRECT* pTextRect);
  // The text typed for pParam, mapped to a value and given to the control.
  void SetFromStringAfterPrompt(IControl* pControl, IParam* pParam, const char* txt);

  // ---- Mouse and keys (pixels from the editor's top-left corner) ----

  void OnMouseDown(int x, int y, IMouseMod* pMod);
  void OnMouseUp(int x, int y, IMouseMod* pMod);
  void OnMouseDrag(int x, int y, IMouseMod* pMod);
  // True when the control treats the double click as a single click.
  bool OnMouseDblClick(int x, int y, IMouseMod* pMod);
  void OnMouseWheel(int x, int y, IMouseMod* pMod, int d);
  // Returns whether mouse-over is handled at all.
  bool OnMouseOver(int x, int y, IMouseMod* pMod);
  void OnMouseOut();
  // True when a control or the key catcher took the key.
  bool OnKeyDown(int x, int y, int key);
  // The control under the point (the captured one while the mouse is held), or -1.
  int GetMouseControlIdx(int x, int y, bool mo = false);
  void ReleaseMouseCapture();
  int GetParamIdxForPTAutomation(int x, int y);
  int GetLastClickedParamForPTAutomation();
  void OnGUIIdle();

  // ---- Text (the process-wide font cache) ----

  // [any] The cached font for the text's size, orientation, style and name
  // (made on first use and stored in pTxt->mCached), or null.
  LICE_IFont* CacheFont(IText* pTxt);

protected:
  // The platform's timer calls IsDirty, asks its window system to repaint
  // pR, and the repaint calls Draw.
  // pR becomes the union of every dirty control's rectangle (starting from
  // pR); true when any was dirty.
  bool IsDirty(IRECT& rect);
  // Draws the controls the pass needs into the bitmap, then DrawScreen.
  bool Draw(IRECT& rect);
  // The calling thread becomes the editor's GUI thread (the constructing
  // thread until a platform calls this).
  void SetGUIThread() { mGUIThread.store(std::this_thread::get_id()); }

  WDL_Mutex mMutex;
  WDL_PtrList<IControl> mControls;
  IPlugBase* mPlug;
  IRECT mDrawRECT;
  bool mCursorHidden = false;
  int mHiddenMousePointX = -1, mHiddenMousePointY = -1;

private:
  void ApplyParameterFromPlug(int paramIdx, double normalizedValue);
  void ApplyPendingValues();
  void DrawControlBounds();

  LICE_SysBitmap* mDrawBitmap = nullptr;
  AAX_IViewContainer* mAAXViewContainer = nullptr;
  LICE_MemBitmap* mTmpBitmap = nullptr;
  int mWidth, mHeight, mFPS;
  int mIdleTicks = 0;
  int mMouseCapture = -1, mMouseOver = -1;
  int mMouseX = 0, mMouseY = 0;
  int mLastClickedParam = -1;
  bool mHandleMouseOver = false;
  bool mStrict = true;
  bool mEnableTooltips = false;
  bool mShowControlBounds = false;
  IControl* mKeyCatcher = nullptr;

  // The parameter whose gesture was begun with the host (-1: none), so that
  // a mouse-up ends only a gesture that began.
  int mGestureParam = -1;
  // The host took the last mouse-down: its mouse-up is the host's too.
  bool mHostTookClick = false;

  // Values pushed off the GUI thread, one slot per parameter.
  std::atomic<std::thread::id> mGUIThread;
  int mNPending = 0;
  std::unique_ptr<std::atomic<double>[]> mPendingValue;
  std::unique_ptr<std::atomic<bool>[]> mPendingFlag;
  std::atomic<bool> mAnyPending{false};
};
