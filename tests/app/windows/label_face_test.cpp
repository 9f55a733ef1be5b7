// The face of the "Quenlit" label: SimHei where the system has it, a bold Chinese sans that every
// Windows 10 and 11 has where it does not.

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/windows/form_setup.h"
#include "win/unique_handle.h"

namespace {

constexpr app::LabelFace kQuenlitFace = {L"黑体", L"SimHei", L"Microsoft YaHei"};

// The families a run of ChooseLabelFace takes as installed.
std::set<std::wstring> installedFaces;
bool InSet(const wchar_t* face) { return installedFaces.count(face) != 0; }

std::wstring FaceOfFont(HFONT font) {
  const win::MemoryDc dc(nullptr);
  const win::SelectGuard select(dc.get(), font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc.get(), LF_FACESIZE, face);
  return face;
}

TEST(LabelFace, SimHeiUnderEitherNameElseMicrosoftYaHeiElseSimHeiStill) {
  installedFaces = {L"黑体", L"Microsoft YaHei"};
  EXPECT_STREQ(app::ChooseLabelFace(kQuenlitFace, InSet), L"黑体");
  installedFaces = {L"SimHei", L"Microsoft YaHei"};
  EXPECT_STREQ(app::ChooseLabelFace(kQuenlitFace, InSet), L"黑体") << "the English name only";
  installedFaces = {L"Microsoft YaHei", L"Tahoma"};
  EXPECT_STREQ(app::ChooseLabelFace(kQuenlitFace, InSet), L"Microsoft YaHei");
  installedFaces = {L"Tahoma"};
  EXPECT_STREQ(app::ChooseLabelFace(kQuenlitFace, InSet), L"黑体") << "the mapper picks either way";
}

int CALLBACK KeepFirstFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM family) {
  *reinterpret_cast<std::wstring*>(family) = font->lfFaceName;
  return 0;
}

// The enumeration finds a family the system has and not one it lacks; the label takes the face
// those fonts decide, and where that face is installed the font drawn with is that face. (Under
// Wine here "黑体" is installed as a stand-in mapped to another family, so SimHei stays.)
TEST(LabelFace, TheSystemsFontsDecideAndTheFontIsDrawnInTheChosenFace) {
  const win::MemoryDc dc(nullptr);
  LOGFONTW any{};
  any.lfCharSet = DEFAULT_CHARSET;
  std::wstring family;
  EnumFontFamiliesExW(dc.get(), &any, KeepFirstFamily, reinterpret_cast<LPARAM>(&family), 0);
  ASSERT_FALSE(family.empty());
  EXPECT_TRUE(app::FontFaceInstalled(family.c_str())) << "the first family enumerated";
  EXPECT_FALSE(app::FontFaceInstalled(L"Morvane No Such Face"));

  const bool simHei = app::FontFaceInstalled(L"黑体") || app::FontFaceInstalled(L"SimHei");
  const bool yaHei = app::FontFaceInstalled(L"Microsoft YaHei");
  const std::wstring chosen = app::ChooseLabelFace(kQuenlitFace);
  EXPECT_EQ(chosen, simHei || !yaHei ? L"黑体" : L"Microsoft YaHei");
  const win::Font font = app::CreateLabelFont(chosen.c_str(), 120, FW_BOLD, false, 96);
  ASSERT_TRUE(font);
  if (simHei || yaHei) {
    EXPECT_EQ(FaceOfFont(font.get()), chosen);
  }
}

}  // namespace
