// The two screens' dialog templates as the program carries them: the
// template's font, which the folder list, the path fields and the licence
// text show, is declared with the default character set, so that a
// double-byte system picks a font with its own glyphs. Read from the
// template itself: a dialog manager may not pass the field on to the font
// it creates.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "res/resource.h"
#include "res/texts.h"

namespace {

// The font fields of an extended dialog template, or nothing.
struct TemplateFont {
  bool found = false;
  WORD points = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::string face;
};

// Steps over a menu or class field: none (0x0000), an ordinal (0xFFFF and a
// number) or a zero-terminated string.
const WORD* SkipNameOrOrdinal(const WORD* field) {
  if (*field == 0x0000) return field + 1;
  if (*field == 0xFFFF) return field + 2;
  while (*field != 0) ++field;
  return field + 1;
}

const WORD* SkipString(const WORD* text) {
  while (*text != 0) ++text;
  return text + 1;
}

#pragma pack(push, 1)
// The fixed head of an extended dialog template (DLGTEMPLATEEX).
struct DialogTemplateHead {
  WORD version;
  WORD signature;
  DWORD helpId;
  DWORD exStyle;
  DWORD style;
  WORD items;
  short x, y, cx, cy;
};
#pragma pack(pop)
constexpr WORD kExtendedSignature = 0xFFFF;

TemplateFont FontOfTemplate(int id) {
  TemplateFont font;
  const HMODULE module = ::GetModuleHandleA(nullptr);
  const HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (resource == nullptr) return font;
  const auto* head = static_cast<const DialogTemplateHead*>(::LockResource(::LoadResource(module, resource)));
  if (head == nullptr || head->signature != kExtendedSignature || (head->style & DS_SETFONT) == 0) return font;
  const WORD* field = reinterpret_cast<const WORD*>(head + 1);
  field = SkipNameOrOrdinal(field);  // menu
  field = SkipNameOrOrdinal(field);  // window class
  field = SkipString(field);         // caption
  font.points = field[0];
  font.weight = field[1];
  const auto* bytes = reinterpret_cast<const BYTE*>(field + 2);
  font.italic = bytes[0];
  font.charset = bytes[1];
  for (const WORD* ch = field + 3; *ch != 0; ++ch) font.face += static_cast<char>(*ch);
  font.found = true;
  return font;
}

TEST(DialogTemplates, BothScreensDeclareTheirFontWithTheDefaultCharacterSet) {
  for (const int id : {IDD_LICENSE_DIALOG, IDD_SETUP_DIALOG}) {
    SCOPED_TRACE("template " + std::to_string(id));
    const TemplateFont font = FontOfTemplate(id);
    ASSERT_TRUE(font.found) << "no extended template with a font";
    EXPECT_EQ(font.points, 8);
    EXPECT_EQ(font.weight, FW_NORMAL);
    EXPECT_EQ(font.italic, 0);
    EXPECT_EQ(font.charset, DEFAULT_CHARSET);
    EXPECT_EQ(font.face, TEXT_TEMPLATE_FONT);
  }
}

}  // namespace
