// The main window's controls: one row per control, read by one creation loop.
#pragma once

#include <string>
#include <vector>

enum class ControlKind { Label, Edit, Button, CheckBox, Radio, GroupBox, PictureBox, TransparentLabel, DropArea };

// Settings a row may carry.
enum ControlFlag : unsigned {
  kReadOnly = 1u << 0,
  kCentred = 1u << 1,        // edit text centred
  kDisabled = 1u << 2,
  kGreyText = 1u << 3,       // #808080 text
  kHelpCursor = 1u << 4,
  kHandCursor = 1u << 5,
  kCrossCursor = 1u << 6,
  kBorder = 1u << 7,         // single-line border
  kSunken = 1u << 8,         // shallow sunken border
  kTileBlue = 1u << 9,       // #0078D7 background
  kTransparentBack = 1u << 10,
};

struct ControlSpec {
  const char* name;
  ControlKind kind;
  const char* parent;  // "" for the main window
  int x, y, w, h;
  const char* text;
  unsigned flags;
};

const std::vector<ControlSpec>& MainWindowLayout();
const ControlSpec* FindControlSpec(const std::string& name);

// The help text of an explanation label ("" for any other control), as stored.
std::string HelpTextOf(const std::string& labelName);

extern const char* const kMainWindowClass;
extern const char* const kStartingTitle;
constexpr int kMainWindowWidth = 503;
constexpr int kMainWindowHeight = 374;
