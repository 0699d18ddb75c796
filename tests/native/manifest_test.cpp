#include "tesserin/tile/manifest.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>

namespace {

const std::string kHead = "<Application xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><VisualElements ";
const std::string kTail = " /></Application>";

bool Iconv(const char* to, const char* from, const std::string& in, std::string* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string buffer(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = &buffer[0];
  size_t dstLeft = buffer.size();
  bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (ok) out->assign(buffer.data(), buffer.size() - dstLeft);
  return ok;
}
bool GbkToUtf8(const std::string& in, std::string* out) { return Iconv("UTF-8", "CP936", in, out); }
bool Utf8ToGbk(const std::string& in, std::string* out) { return Iconv("CP936", "UTF-8", in, out); }
bool Refuse(const std::string&, std::string*) { return false; }

// Well-formedness as a real XML parser sees it.
bool XmllintAccepts(const std::string& bytes) {
  FILE* pipe = popen("xmllint --noout - 2>/dev/null", "w");
  if (!pipe) return false;
  fwrite(bytes.data(), 1, bytes.size(), pipe);
  return pclose(pipe) == 0;
}

ManifestValues Values(bool hide, bool light, const char* colour, const char* large, const char* small, const char* icon) {
  ManifestValues v;
  v.HideName = hide;
  v.LightText = light;
  v.ColourText = colour;
  v.LargeLogo = large;
  v.SmallLogo = small;
  v.IconPath = icon;
  return v;
}

// "\xE9\x46" is 镕, a GBK character GB2312 lacks; "\x95\x5C" ends in a backslash byte.
const struct {
  ManifestValues values;
  std::string attributes;
} kLines[] = {
    {Values(false, true, "#0078D7", "", "", ""),
     "ShowNameOnSquare150x150Logo=\"on\" ForegroundText=\"light\" BackgroundColor=\"#0078D7\""},
    {Values(true, false, "#FFFFFF", "a150x150Logo.png", "a70x70Logo.png", ""),
     "ShowNameOnSquare150x150Logo=\"off\" ForegroundText=\"dark\" BackgroundColor=\"#FFFFFF\" "
     "Square150x150Logo=\"a150x150Logo.png\" Square70x70Logo=\"a70x70Logo.png\""},
    {Values(false, false, "#000000", "", "", "C:\\Icons\\a.ico"),
     "ShowNameOnSquare150x150Logo=\"on\" ForegroundText=\"dark\" BackgroundColor=\"#000000\" "
     "Lnk32x32Logo=\"C:\\Icons\\a.ico\""},
    {Values(true, true, "#\"1\" <2>", "R&D150x150Logo.JPEG", "R&D70x70Logo.JPEG", "C:\\R&D\\\xE9\x46\\\x95\x5C.ico"),
     "ShowNameOnSquare150x150Logo=\"off\" ForegroundText=\"light\" BackgroundColor=\"#&quot;1&quot; &lt;2&gt;\" "
     "Square150x150Logo=\"R&amp;D150x150Logo.JPEG\" Square70x70Logo=\"R&amp;D70x70Logo.JPEG\" "
     "Lnk32x32Logo=\"C:\\R&amp;D\\\xE9\x46\\\x95\x5C.ico\""},
};

TEST(ManifestText, ExactBytes) {
  for (size_t i = 0; i < sizeof kLines / sizeof kLines[0]; ++i)
    EXPECT_EQ(BuildManifestText(kLines[i].values), kHead + kLines[i].attributes + kTail) << "row " << i;
}

TEST(ManifestText, FileIsBomAndUtf8AndParsesAsXml) {
  for (size_t i = 0; i < sizeof kLines / sizeof kLines[0]; ++i) {
    std::string text = BuildManifestText(kLines[i].values), utf8;
    ASSERT_TRUE(GbkToUtf8(text, &utf8));
    std::string bytes = EncodeManifestFile(text, GbkToUtf8);
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" + utf8) << "row " << i;
    EXPECT_TRUE(XmllintAccepts(bytes)) << "row " << i << ": " << utf8;
    EXPECT_EQ(DecodeManifestFile(bytes, Utf8ToGbk), text) << "row " << i;
  }
  // The check itself can fail: an unescaped ampersand is no XML.
  EXPECT_FALSE(XmllintAccepts("\xEF\xBB\xBF" + kHead + "Lnk32x32Logo=\"C:\\R&D\\a.ico\"" + kTail));
  EXPECT_EQ(EncodeManifestFile(BuildManifestText(kLines[0].values), Refuse), "");
}

TEST(ManifestText, ReadsBackWhatItWrites) {
  for (size_t i = 0; i < sizeof kLines / sizeof kLines[0]; ++i) {
    const ManifestValues& v = kLines[i].values;
    ManifestReading r = ParseManifestText(BuildManifestText(v));
    EXPECT_EQ(r.ShowName, v.HideName ? "off" : "on") << "row " << i;
    EXPECT_EQ(r.Foreground, v.LightText ? "light" : "dark") << "row " << i;
    EXPECT_EQ(r.Background, v.ColourText) << "row " << i;
    EXPECT_EQ(r.LargeLogo, v.LargeLogo) << "row " << i;
    EXPECT_EQ(r.SmallLogo, v.SmallLogo) << "row " << i;
    EXPECT_EQ(r.Icon, v.IconPath) << "row " << i;
  }
}

TEST(ManifestText, ReadsOnlyTheOneLineForm) {
  const std::string all = "ShowNameOnSquare150x150Logo=\"off\" ForegroundText=\"light\" BackgroundColor=\"#102030\" "
                          "Square150x150Logo=\"a150x150Logo.png\" Square70x70Logo=\"a70x70Logo.png\" "
                          "Lnk32x32Logo=\"C:\\a.ico\"";
  struct {
    std::string text;
    ManifestReading expected;  // ShowName, Background, Foreground, LargeLogo, SmallLogo, Icon
  } rows[] = {
      {kHead + all + kTail, {"off", "#102030", "light", "a150x150Logo.png", "a70x70Logo.png", "C:\\a.ico"}},
      {"", {}},
      {kHead + "ShowNameOnSquare150x150Logo=\"off\"" + kTail, {}},  // one attribute is no list
      {"<Application><VisualElements\r\n" + all + kTail, {}},
      {kHead + "ShowNameOnSquare150x150Logo='off' ForegroundText='light' BackgroundColor='#102030'" + kTail, {}},
      {kHead + all + kTail + kHead + all + kTail, {}},
      {kHead + all + " />" + kTail, {}},
      // a line break instead of a space hides the attribute after it and spoils the one before
      {kHead + "ShowNameOnSquare150x150Logo=\"off\"\r\nForegroundText=\"light\" BackgroundColor=\"#102030\"" + kTail,
       {"", "#102030", "", "", "", ""}},
      // values taken as written; the later of two equal names counts; empty values are none
      {kHead + "ShowNameOnSquare150x150Logo=\"On\" ForegroundText=\"Light\" BackgroundColor=\"#1\" "
               "BackgroundColor=\"#2\" Square150x150Logo=\"\" Lnk32x32Logo=\"C:\\R&amp;D\\&lt;&gt;&quot;&apos;&nbsp;&.ico\"" +
           kTail,
       {"On", "#2", "Light", "", "", "C:\\R&D\\<>\"'&nbsp;&.ico"}},
      {kHead + all + kTail.substr(0, 3) + std::string(1, '\0') + "junk", {}},
      {kHead + all + kTail + std::string(1, '\0') + kHead, {"off", "#102030", "light", "a150x150Logo.png", "a70x70Logo.png", "C:\\a.ico"}},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    ManifestReading r = ParseManifestText(rows[i].text), e = rows[i].expected;
    EXPECT_EQ(r.ShowName, e.ShowName) << "row " << i;
    EXPECT_EQ(r.Background, e.Background) << "row " << i;
    EXPECT_EQ(r.Foreground, e.Foreground) << "row " << i;
    EXPECT_EQ(r.LargeLogo, e.LargeLogo) << "row " << i;
    EXPECT_EQ(r.SmallLogo, e.SmallLogo) << "row " << i;
    EXPECT_EQ(r.Icon, e.Icon) << "row " << i;
  }
}

TEST(ManifestText, DecodesTheFile) {
  const std::string gbk = "<a b=\"\xE9\x46\">";  // 镕
  std::string utf8;
  ASSERT_TRUE(GbkToUtf8(gbk, &utf8));
  struct {
    std::string bytes;
    std::string text;
  } rows[] = {
      {"\xEF\xBB\xBF" + utf8, gbk},
      {gbk, gbk},                                  // no byte order mark: GBK as it is
      {"\xEF\xBB", "\xEF\xBB"},                    // too short for a byte order mark
      {"", ""},
      {"\xEF\xBB\xBF", ""},
      {"\xEF\xBB\xBF" "ab" + std::string(1, '\0') + "cd", "ab"},
      {gbk + std::string(1, '\0') + "cd", gbk},
      {"\xEF\xBB\xBF" "\xFF\xFE", ""},             // not UTF-8
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i)
    EXPECT_EQ(DecodeManifestFile(rows[i].bytes, Utf8ToGbk), rows[i].text) << "row " << i;
}

TEST(ManifestPictures, Plan) {
  using Steps = std::vector<std::pair<std::string, std::string>>;  // from ("" deletes), to
  using Names = std::vector<std::string>;
  const char* p = "C:\\A\\a.exe";
  struct {
    const char *large, *small, *previousLarge, *previousSmall;
    const char *largeLogo, *smallLogo;
    Steps steps;
    Names obsolete;
  } rows[] = {
      {"", "", "", "", "", "", {}, {}},
      // one picture serves both sizes: the copy is copied again
      {"", "D:\\x\\s.gif", "", "", "a150x150Logo.gif", "a70x70Logo.gif",
       {{"", "C:\\A\\a70x70Logo.gif"}, {"D:\\x\\s.gif", "C:\\A\\a70x70Logo.gif"},
        {"", "C:\\A\\a150x150Logo.gif"}, {"C:\\A\\a70x70Logo.gif", "C:\\A\\a150x150Logo.gif"}},
       {}},
      {"D:\\A.JPEG", "", "", "", "a150x150Logo.JPEG", "a70x70Logo.JPEG",
       {{"", "C:\\A\\a150x150Logo.JPEG"}, {"D:\\A.JPEG", "C:\\A\\a150x150Logo.JPEG"},
        {"", "C:\\A\\a70x70Logo.JPEG"}, {"C:\\A\\a150x150Logo.JPEG", "C:\\A\\a70x70Logo.JPEG"}},
       {}},
      // unchanged: nothing copied, nothing deleted
      {"C:\\A\\a150x150Logo.png", "C:\\A\\a70x70Logo.png", "C:\\A\\a150x150Logo.png", "C:\\A\\a70x70Logo.png",
       "a150x150Logo.png", "a70x70Logo.png", {}, {}},
      // the same file in another spelling is no new picture
      {"c:\\a\\A150X150LOGO.png", "C:\\A\\a70x70Logo.png", "", "", "a150x150Logo.png", "a70x70Logo.png", {}, {}},
      // a new JPG replaces the PNG copy, which goes after the manifest
      {"D:\\n.jpg", "C:\\A\\a70x70Logo.png", "C:\\A\\a150x150Logo.png", "C:\\A\\a70x70Logo.png",
       "a150x150Logo.jpg", "a70x70Logo.png",
       {{"", "C:\\A\\a150x150Logo.jpg"}, {"D:\\n.jpg", "C:\\A\\a150x150Logo.jpg"}},
       {"C:\\A\\a150x150Logo.png"}},
      // ... unless the old large picture was the small one as well
      {"D:\\n.jpg", "", "C:\\A\\pic.png", "C:\\A\\pic.png", "a150x150Logo.jpg", "a70x70Logo.jpg",
       {{"", "C:\\A\\a150x150Logo.jpg"}, {"D:\\n.jpg", "C:\\A\\a150x150Logo.jpg"},
        {"", "C:\\A\\a70x70Logo.jpg"}, {"C:\\A\\a150x150Logo.jpg", "C:\\A\\a70x70Logo.jpg"}},
       {}},
      // ... or it is now the small picture's source
      {"D:\\n.jpg", "C:\\A\\a150x150Logo.png", "C:\\A\\a150x150Logo.png", "C:\\A\\a70x70Logo.png",
       "a150x150Logo.jpg", "a70x70Logo.png",
       {{"", "C:\\A\\a150x150Logo.jpg"}, {"D:\\n.jpg", "C:\\A\\a150x150Logo.jpg"},
        {"", "C:\\A\\a70x70Logo.png"}, {"C:\\A\\a150x150Logo.png", "C:\\A\\a70x70Logo.png"}},
       {}},
      // the small source is the large target: it is copied before that is replaced
      {"D:\\n.png", "C:\\A\\a150x150Logo.png", "", "", "a150x150Logo.png", "a70x70Logo.png",
       {{"", "C:\\A\\a70x70Logo.png"}, {"C:\\A\\a150x150Logo.png", "C:\\A\\a70x70Logo.png"},
        {"", "C:\\A\\a150x150Logo.png"}, {"D:\\n.png", "C:\\A\\a150x150Logo.png"}},
       {}},
  };
  for (size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    const auto& r = rows[i];
    PicturePlan plan = PlanPictures(p, r.large, r.small, r.previousLarge, r.previousSmall);
    EXPECT_EQ(plan.LargeLogo, r.largeLogo) << "row " << i;
    EXPECT_EQ(plan.SmallLogo, r.smallLogo) << "row " << i;
    Steps steps;
    for (const PictureStep& s : plan.Steps) steps.emplace_back(s.from, s.to);
    EXPECT_EQ(steps, r.steps) << "row " << i;
    EXPECT_EQ(plan.Obsolete, r.obsolete) << "row " << i;
  }
}

}  // namespace
