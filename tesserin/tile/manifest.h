// The tile manifest <program>.VisualElementsManifest.xml as text, and the picture copies
// that go with it. Platform-free: the file and control work is in manifest_win.cpp.
//
// Texts here are GBK; the file itself is UTF-8 with a byte order mark. The conversion
// between the two is handed in, so this part also builds and is tested without Windows.
#pragma once

#include <string>
#include <vector>

// The values one manifest line carries.
struct ManifestValues {
  bool HideName = false;   // ShowNameOnSquare150x150Logo "off" / "on"
  bool LightText = false;  // ForegroundText "light" / "dark"
  std::string ColourText;  // BackgroundColor, as typed
  // Square150x150Logo and Square70x70Logo: file names relative to the program's folder,
  // both or neither.
  std::string LargeLogo;
  std::string SmallLogo;
  std::string IconPath;  // Lnk32x32Logo, as given (absolute); "" leaves the attribute out
};

// What a manifest line holds: each value as written ("" when the attribute is missing or
// its value is empty or unreadable), entities already turned back into characters.
struct ManifestReading {
  std::string ShowName;
  std::string Background;
  std::string Foreground;
  std::string LargeLogo;
  std::string SmallLogo;
  std::string Icon;
};

// Attribute value escaping: & < > " become &amp; &lt; &gt; &quot;. All four are ASCII
// below 0x40, so they never occur as the trail byte of a GBK character.
std::string EscapeXmlAttribute(const std::string& value);
// Turns &amp; &lt; &gt; &quot; &apos; back; anything else stays as it is.
std::string UnescapeXmlAttribute(const std::string& value);

// The one-line manifest text (GBK), no line break at the end.
std::string BuildManifestText(const ManifestValues& values);
// Reads the text of one manifest line; refusals leave every field "".
ManifestReading ParseManifestText(const std::string& text);

// Converts text from one encoding to another; false when it cannot.
using TextConversion = bool (*)(const std::string& in, std::string* out);
// The bytes of the manifest file: EF BB BF and the text converted to UTF-8; "" when the
// text cannot be converted.
std::string EncodeManifestFile(const std::string& text, TextConversion gbkToUtf8);
// The text of a manifest file: with a byte order mark the rest converted from UTF-8
// (a failed conversion gives ""), else the bytes as GBK text; either way cut at the first
// zero byte.
std::string DecodeManifestFile(const std::string& bytes, TextConversion utf8ToGbk);

// What saving the pictures takes: the names the manifest gives them, the file steps to
// take before the manifest is written and the pictures of the previous manifest to delete
// once the new manifest is in place.
struct PictureStep {
  std::string from;  // copied to `to`, overwriting; "" deletes `to`
  std::string to;
};
struct PicturePlan {
  std::string LargeLogo, SmallLogo;  // attribute values; both "" when no picture is set
  std::vector<PictureStep> Steps;    // in this order
  std::vector<std::string> Obsolete;
};
PicturePlan PlanPictures(const std::string& programPath, const std::string& largePath, const std::string& smallPath,
                         const std::string& previousLarge, const std::string& previousSmall);

#ifdef _WIN32
// Tests: make the given file step of the next manifest writes fail (1 create the
// temporary file, 2 write it, 3 close it, 4 put it in place of the manifest); 0 none.
void FailManifestWriteStep(int step);
#endif
