#pragma once
// The small X11 windows of the Linux view layer, all on the editor's own
// connection and GUI thread: a drawing surface, the popup menu, the text
// entry field, message boxes, the file prompt and tooltips. Every one is
// drawn with the project's bitmap and text code. [gui] throughout.

#include "IGraphicsLinuxWindow.h"
#include "IParam.h"
#include "lice_bitmap.h"
#include "lice_text.h"

#include <memory>
#include <string>
#include <vector>

class IPopupMenu;
struct IText;

// A window of the editor's connection with a bitmap of its size that is
// copied to it on Present.
class IX11Surface
{
public:
  // A child of parent at (x, y), or with popup a top-level window placed by
  // no window manager (override-redirect), at root position (x, y).
  IX11Surface(IGraphicsLinuxWindow& win, Window parent, int x, int y, int w, int h, bool popup,
              long eventMask);
  ~IX11Surface();
  IX11Surface(const IX11Surface&) = delete;
  IX11Surface& operator=(const IX11Surface&) = delete;

  Window Id() const { return mId; }
  LICE_IBitmap* Bitmap() { return &mBitmap; }
  int W() const { return mW; }
  int H() const { return mH; }
  void Present();

private:
  IGraphicsLinuxWindow& mWin;
  Window mId = 0;
  int mW, mH;
  LICE_SysBitmap mBitmap;
};

// The font of the layer's own windows (the system sans-serif by name).
class IX11UiFont
{
public:
  explicit IX11UiFont(int size = 12, bool bold = false, const char* face = "DejaVu Sans");
  // Draws one line in r with DT_ flags (swell.h) in colour c.
  void Draw(LICE_IBitmap* bm, const char* s, int l, int t, int r, int b, LICE_pixel c,
            int flags);
  int Width(const char* s, int len = -1);
  int LineHeight() { return mFont.GetLineHeight(); }

private:
  LICE_CachedFont mFont;
};

// The characters a text entry accepts for a parameter: digits and signs for
// bool, int and enum parameters, also the point for doubles; null (any)
// without a parameter or for other types.
const char* IX11EntryCharacters(const IParam* pParam);
// The formatter's test of a partial string: every character in accepted
// (when not null), length at most maxLength and integer value at most
// maxValue (each when not 0).
bool IX11EntryAccepts(const std::string& s, const char* accepted, int maxLength, int maxValue);

// A one-line text field over part of the editor window.
class IX11TextEntry
{
public:
  enum EResult
  {
    kNotMine, // the event belongs to someone else
    kHandled,
    kCommit, // Return, Tab or focus lost: apply the text
    kCancel  // Escape: close without applying
  };

  // The field's font is the style's at 0.9 x its size (truncated), its
  // colours the style's text-entry colours, its alignment the style's.
  // parent 0: the editor window.
  IX11TextEntry(IGraphicsLinuxWindow& win, int x, int y, int w, int h, const IText& style,
                const char* initial, const char* accepted, int maxLength, int maxValue,
                Window parent = 0);
  // Replaces the text, caret at its end.
  void SetText(const std::string& s);
  EResult Handle(XEvent& ev);
  const std::string& Text() const { return mText; }
  Window Id() const { return mSurface.Id(); }

private:
  void Draw();
  bool TryInsert(const std::string& s);

  IX11Surface mSurface;
  IX11UiFont mFont;
  std::string mText;
  size_t mCaret;
  LICE_pixel mFg, mBg;
  int mAlign;
  const char* mAccepted;
  int mMaxLength, mMaxValue;
  bool mFocused = false;
};

// Shows menu at root position (x, y) and runs it modally: the menu holding
// the chosen item with its chosen index set, or null when dismissed (also
// when the editor closes meanwhile).
IPopupMenu* IX11RunPopupMenu(IGraphicsLinuxWindow& win, IPopupMenu* menu, int x, int y);

// A modal box centred on the editor with the given buttons; the index of
// the button pressed, or -1 when closed otherwise (Escape, editor closed).
int IX11RunMessageBox(IGraphicsLinuxWindow& win, const char* text, const char* caption,
                      const std::vector<std::string>& buttons);

// A modal file dialog: a path field starting at dir + file and a list of
// the folder's subfolders and files with one of extensions (space-separated;
// empty: every file). True with *path on OK.
bool IX11RunFilePrompt(IGraphicsLinuxWindow& win, const std::string& dir, const std::string& file,
                       const char* extensions, bool save, std::string* path);

// A small window with a line of text beside the pointer.
class IX11Tooltip
{
public:
  IX11Tooltip(IGraphicsLinuxWindow& win, const char* text, int rootX, int rootY);

private:
  IX11Surface mSurface;
};
