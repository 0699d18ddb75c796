#include "tesserin/tile/manifest.h"

#include <utility>

#include "common/gbk.h"
#include "tesserin/tile/paths.h"

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// Splits at every `separator`. An empty piece after a separator at the very end is not
// counted, so the closing quote of the last attribute leaves no piece behind; an empty
// text gives no pieces at all.
std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  size_t pos = 0;
  for (size_t hit; (hit = text.find(separator, pos)) != std::string::npos; pos = hit + separator.size())
    pieces.push_back(text.substr(pos, hit - pos));
  if (pos < text.size()) pieces.push_back(text.substr(pos));
  return pieces;
}

std::string Attribute(const char* name, const std::string& value) {
  return std::string(name) + "=\"" + EscapeXmlAttribute(value) + "\"";
}

// Windows file names ignore ASCII case: two spellings of one file must not make us
// delete or overwrite the picture we are about to copy.
bool SameFile(const std::string& a, const std::string& b) { return gbk::AsciiLower(a) == gbk::AsciiLower(b); }

}  // namespace

std::string EscapeXmlAttribute(const std::string& value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeXmlAttribute(const std::string& value) {
  static const struct {
    const char* entity;
    char c;
  } kEntities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size();) {
    bool replaced = false;
    if (value[i] == '&') {
      for (const auto& e : kEntities) {
        size_t n = std::char_traits<char>::length(e.entity);
        if (value.compare(i, n, e.entity) == 0) {
          out += e.c;
          i += n;
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += value[i++];
  }
  return out;
}

std::string BuildManifestText(const ManifestValues& v) {
  std::string text = "<Application xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><VisualElements ";
  text += Attribute("ShowNameOnSquare150x150Logo", v.HideName ? "off" : "on");
  text += " " + Attribute("ForegroundText", v.LightText ? "light" : "dark");
  text += " " + Attribute("BackgroundColor", v.ColourText);
  if (!v.LargeLogo.empty() || !v.SmallLogo.empty())
    text += " " + Attribute("Square150x150Logo", v.LargeLogo) + " " + Attribute("Square70x70Logo", v.SmallLogo);
  if (!v.IconPath.empty()) text += " " + Attribute("Lnk32x32Logo", v.IconPath);
  text += " /></Application>";
  return text;
}

// The reader takes exactly the one line that BuildManifestText writes, for example
//
//   <Application xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"><VisualElements ShowNameOnSquare150x150Logo="on" ForegroundText="light" BackgroundColor="#0078D7" Square150x150Logo="foo150x150Logo.png" Square70x70Logo="foo70x70Logo.png" Lnk32x32Logo="C:\Apps\R&amp;D\foo.ico" /></Application>
//
// It is a splitter on fixed separators, not an XML parser: one "<VisualElements " (with
// the space), one " />", attributes in double quotes, one space between them. A line
// break or single quotes make it read nothing. Attribute names are compared as prefixes
// of their pieces; when a name comes twice the later one counts.
ManifestReading ParseManifestText(const std::string& input) {
  ManifestReading reading;
  const std::string text = input.substr(0, input.find('\0'));
  std::vector<std::string> pieces = Split(text, "<VisualElements ");
  if (pieces.size() != 2) return reading;
  pieces = Split(pieces[1], " />");
  if (pieces.size() != 2) return reading;
  const std::vector<std::string> attributes = Split(pieces[0], "\" ");
  if (attributes.size() < 2) return reading;

  static const struct {
    const char* name;
    std::string ManifestReading::*field;
  } kAttributes[] = {
      {"ShowNameOnSquare150x150Logo", &ManifestReading::ShowName},
      {"BackgroundColor", &ManifestReading::Background},
      {"ForegroundText", &ManifestReading::Foreground},
      {"Square150x150Logo", &ManifestReading::LargeLogo},
      {"Square70x70Logo", &ManifestReading::SmallLogo},
      {"Lnk32x32Logo", &ManifestReading::Icon},
  };
  for (const auto& a : kAttributes) {
    const std::string* last = nullptr;
    for (const std::string& piece : attributes)
      if (piece.compare(0, std::char_traits<char>::length(a.name), a.name) == 0) last = &piece;
    if (!last) continue;
    std::vector<std::string> parts = Split(*last, "\"");
    if (parts.size() == 2 && !parts[1].empty()) reading.*a.field = UnescapeXmlAttribute(parts[1]);
  }
  return reading;
}

std::string EncodeManifestFile(const std::string& text, TextConversion gbkToUtf8) {
  std::string utf8;
  if (!gbkToUtf8(text, &utf8) || (utf8.empty() && !text.empty())) return std::string();
  return kUtf8Bom + utf8;
}

std::string DecodeManifestFile(const std::string& bytes, TextConversion utf8ToGbk) {
  std::string text;
  if (bytes.size() >= 3 && bytes.compare(0, 3, kUtf8Bom) == 0) {
    if (!utf8ToGbk(bytes.substr(3), &text)) text.clear();
  } else {
    text = bytes;
  }
  return text.substr(0, text.find('\0'));
}

PicturePlan PlanPictures(const std::string& programPath, const std::string& largePath, const std::string& smallPath,
                         const std::string& previousLarge, const std::string& previousSmall) {
  PicturePlan plan;
  const std::string stem = PathWithoutExtension(programPath);
  const std::string base = BaseNameWithoutExtension(programPath);
  const std::string largeType = gbk::FileTypeText(largePath);
  const std::string smallType = gbk::FileTypeText(smallPath);
  const std::string largeTarget = stem + "150x150Logo." + largeType;
  const std::string smallTarget = stem + "70x70Logo." + smallType;
  const bool newLarge = !largePath.empty() && !SameFile(largePath, largeTarget);
  const bool newSmall = !smallPath.empty() && !SameFile(smallPath, smallTarget);

  std::vector<PictureStep> largeSteps, smallSteps;
  if (newLarge) largeSteps = {{"", largeTarget}, {largePath, largeTarget}};
  if (newSmall) smallSteps = {{"", smallTarget}, {smallPath, smallTarget}};
  // A small source that is the large target (the large copy chosen again as the small
  // picture) is copied before the large target is replaced.
  if (newLarge && newSmall && SameFile(smallPath, largeTarget)) std::swap(largeSteps, smallSteps);
  plan.Steps = largeSteps;
  plan.Steps.insert(plan.Steps.end(), smallSteps.begin(), smallSteps.end());
  if (!largePath.empty()) plan.LargeLogo = base + "150x150Logo." + largeType;
  if (!smallPath.empty()) plan.SmallLogo = base + "70x70Logo." + smallType;

  // One picture serves both sizes: the copy just made is copied to the other size.
  std::string extraTarget;
  if (!largePath.empty() && smallPath.empty()) {
    extraTarget = stem + "70x70Logo." + largeType;
    plan.Steps.push_back({"", extraTarget});
    plan.Steps.push_back({largeTarget, extraTarget});
    plan.SmallLogo = base + "70x70Logo." + largeType;
  } else if (largePath.empty() && !smallPath.empty()) {
    extraTarget = stem + "150x150Logo." + smallType;
    plan.Steps.push_back({"", extraTarget});
    plan.Steps.push_back({smallTarget, extraTarget});
    plan.LargeLogo = base + "150x150Logo." + smallType;
  }

  // A picture the previous manifest used goes when a new one replaces it, unless it is
  // also the other size's previous picture, or a file this save reads or writes.
  auto obsolete = [&](const std::string& previous, const std::string& otherPrevious) {
    if (previous.empty() || SameFile(previous, otherPrevious)) return false;
    const std::string* kept[] = {&largePath, &smallPath, &largeTarget, &smallTarget, &extraTarget};
    for (const std::string* k : kept)
      if (!k->empty() && SameFile(previous, *k)) return false;
    return true;
  };
  if (newLarge && obsolete(previousLarge, previousSmall)) plan.Obsolete.push_back(previousLarge);
  if (newSmall && obsolete(previousSmall, previousLarge)) plan.Obsolete.push_back(previousSmall);
  return plan;
}
