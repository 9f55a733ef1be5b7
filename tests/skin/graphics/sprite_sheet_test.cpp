#include "skin/graphics/sprite_sheet.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "skin/graphics/gdi_handles.h"
#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_tables.h"
#include "skin/graphics/surface.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/pictures.h"
#include "win/unique_handle.h"

namespace {

using skin::kKeyColour;

struct Sheet {
  const char* name;
  HDC (*surface)();
  const COLORREF* pixels;
  int width;
  int height;
  int keyPixels;
};

const Sheet kSheets[] = {
    {"ButtonSprite", skin::ButtonSprite, &skin::kButtonSpritePixels[0][0], skin::kButtonSpriteWidth,
     skin::kButtonSpriteHeight, 0},
    {"ComboSprite", skin::ComboSprite, &skin::kComboSpritePixels[0][0], skin::kComboSpriteWidth,
     skin::kComboSpriteHeight, 94},
    {"GlyphSprite", skin::GlyphSprite, &skin::kGlyphSpritePixels[0][0], skin::kGlyphSpriteWidth,
     skin::kGlyphSpriteHeight, 240},
    {"OptionSprite", skin::OptionSprite, &skin::kOptionSpritePixels[0][0], skin::kOptionSpriteWidth,
     skin::kOptionSpriteHeight, 96},
    {"HeaderSprite", skin::HeaderSprite, &skin::kHeaderSpritePixels[0][0], skin::kHeaderSpriteWidth,
     skin::kHeaderSpriteHeight, 0},
};

COLORREF Option(int x, int y) { return skin::kOptionSpritePixels[y][x]; }

// The opaque span of each row of a 13 x 13 option circle.
bool InsideDisc(int x, int y) {
  const int inset[13] = {3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3};
  return x >= inset[y] && x <= 12 - inset[y];
}

class SpriteSheet : public testing::Test {
 protected:
  void SetUp() override { skin::BuildSpriteSheet(); }
  void TearDown() override { skin::ReleaseSpriteSheet(); }
};

TEST_F(SpriteSheet, EveryPixelHasItsTableColour) {
  const gdi::WindowDc screen(nullptr, gdi::WindowDc::Area::Client);
  ASSERT_EQ(GetDeviceCaps(screen.get(), BITSPIXEL), 32) << "the pixel checks need a 32-bit display";

  for (const Sheet& sheet : kSheets) {
    HDC surface = sheet.surface();
    ASSERT_NE(surface, nullptr) << sheet.name;
    BITMAP info{};
    GetObjectW(GetCurrentObject(surface, OBJ_BITMAP), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, sheet.width) << sheet.name;
    EXPECT_EQ(info.bmHeight, sheet.height) << sheet.name;
    EXPECT_EQ(info.bmBitsPixel, 32) << sheet.name;

    int keys = 0;
    int wrong = 0;
    for (int y = 0; y < sheet.height; ++y) {
      for (int x = 0; x < sheet.width; ++x) {
        COLORREF expected = sheet.pixels[y * sheet.width + x];
        COLORREF actual = GetPixel(surface, x, y);
        if (actual != expected && ++wrong <= 5) {
          ADD_FAILURE() << sheet.name << " (" << x << ", " << y << ") is " << std::hex << actual
                        << ", table " << expected;
        }
        if (actual == kKeyColour) ++keys;
      }
    }
    EXPECT_EQ(wrong, 0) << sheet.name;
    EXPECT_EQ(keys, sheet.keyPixels) << sheet.name;
  }
}

TEST(SpriteTables, AgreeWithThePublishedShapesAndColours) {
  // Frames and the stretched centre column of the push-button cells.
  for (int y = 3; y <= 17; ++y) {
    EXPECT_EQ(skin::kButtonSpritePixels[y][0], 0xD58F1Bu);
    EXPECT_EQ(skin::kButtonSpritePixels[y][6], 0xD58F1Bu);
    EXPECT_EQ(skin::kButtonSpritePixels[y][2], skin::kButtonSpritePixels[y][3]);
    EXPECT_EQ(skin::kButtonSpritePixels[y][4], skin::kButtonSpritePixels[y][3]);
    EXPECT_EQ(skin::kButtonSpritePixels[63 + y][0], 0xE8C387u);
  }
  EXPECT_EQ(skin::kButtonSpritePixels[17][3], 0xEAD0B1u);
  EXPECT_EQ(skin::kButtonSpritePixels[24][1], 0xFBC146u);
  EXPECT_EQ(skin::kButtonSpritePixels[38][1], 0xF8BA39u);
  EXPECT_EQ(skin::kButtonSpritePixels[45][1], 0xF9B731u);
  EXPECT_EQ(skin::kButtonSpritePixels[56][1], 0xFCC145u);
  EXPECT_NE(skin::kButtonSpritePixels[19][0], skin::kButtonSpritePixels[19][6]);

  // Combo faces: frame column, equal light columns; arrows are solid down-pointing triangles.
  for (int y = 0; y < 18; ++y) {
    EXPECT_EQ(skin::kComboSpritePixels[y][0], 0xD1A04Eu);
    EXPECT_EQ(skin::kComboSpritePixels[y][4], 0xD1A04Eu);
    EXPECT_EQ(skin::kComboSpritePixels[y][1], skin::kComboSpritePixels[y][3]);
    EXPECT_EQ(skin::kComboSpritePixels[y][5], skin::kComboSpritePixels[y][7]);
  }
  for (int row = 0; row < 4; ++row) {
    for (int x = 0; x < 7; ++x) {
      bool inTriangle = x >= row && x <= 6 - row;
      EXPECT_EQ(skin::kComboSpritePixels[row][8 + x], inTriangle ? 0x5F5519u : kKeyColour);
      EXPECT_EQ(skin::kComboSpritePixels[4 + row][8 + x], inTriangle ? 0xACA584u : kKeyColour);
    }
  }

  // Glyphs: the darkest row of each check mark, the square's ends, the dot's centre.
  EXPECT_EQ(skin::kGlyphSpritePixels[0][8], 0x1DB754u);
  EXPECT_EQ(skin::kGlyphSpritePixels[7][3], 0x029135u);
  EXPECT_EQ(skin::kGlyphSpritePixels[7][12], 0x7EC798u);
  EXPECT_EQ(skin::kGlyphSpritePixels[9][1], 0x1BB451u);
  EXPECT_EQ(skin::kGlyphSpritePixels[15][16], 0x80C99Au);
  EXPECT_EQ(skin::kGlyphSpritePixels[20][4], 0x12A847u);
  EXPECT_EQ(skin::kGlyphSpritePixels[18][2], kKeyColour);

  // Header: the bottom line and the background column.
  for (int x = 0; x < 9; ++x) EXPECT_EQ(skin::kHeaderSpritePixels[19][x], 0xF2DAC0u);
  for (int y = 9; y <= 18; ++y) EXPECT_EQ(skin::kHeaderSpritePixels[y][1], 0xF6E5D3u);
}

TEST(OptionSprite, IsTheSameDiscInEveryCell) {
  struct Outline {
    COLORREF darkest;
    COLORREF lightest;
  };
  const Outline outlines[4] = {
      {0xD2A683, 0xE7CFBC}, {0xD2A683, 0xE7CFBC}, {0xC18964, 0xDDBCA4}, {0xE8D2C1, 0xF3E7DD}};
  for (int state = 0; state < 4; ++state) {
    const int top = 13 * state;
    int keys = 0;
    for (int y = 0; y < 13; ++y) {
      for (int x = 0; x < 13; ++x) {
        bool key = Option(x, top + y) == kKeyColour;
        keys += key;
        EXPECT_EQ(key, !InsideDisc(x, y)) << "state " << state << " (" << x << ", " << y << ")";
      }
    }
    EXPECT_EQ(keys, 24) << "state " << state;
    // Darkest at the middle of each side, lightest at the diagonal steps.
    const Outline& outline = outlines[state];
    EXPECT_EQ(Option(6, top), outline.darkest) << "state " << state;
    EXPECT_EQ(Option(6, top + 12), outline.darkest) << "state " << state;
    EXPECT_EQ(Option(0, top + 6), outline.darkest) << "state " << state;
    EXPECT_EQ(Option(12, top + 6), outline.darkest) << "state " << state;
    EXPECT_EQ(Option(2, top + 1), outline.lightest) << "state " << state;
    EXPECT_EQ(Option(1, top + 2), outline.lightest) << "state " << state;
    EXPECT_EQ(Option(10, top + 11), outline.lightest) << "state " << state;
  }

  // Normal and disabled are mirror-symmetric; hot and pressed are not.
  auto symmetric = [](int state) {
    for (int y = 13 * state; y < 13 * state + 13; ++y) {
      for (int x = 0; x < 13; ++x) {
        if (Option(x, y) != Option(12 - x, y)) return false;
      }
    }
    return true;
  };
  EXPECT_TRUE(symmetric(0));
  EXPECT_FALSE(symmetric(1));
  EXPECT_FALSE(symmetric(2));
  EXPECT_TRUE(symmetric(3));

  // Normal and disabled are white below the shaded upper edge.
  EXPECT_EQ(Option(6, 6), 0xFFFFFFu);
  EXPECT_EQ(Option(6, 39 + 6), 0xFFFFFFu);
  EXPECT_NE(Option(6, 1), 0xFFFFFFu);

  // Hot: a diagonal gradient from #C3EAF8 at the upper left to #E0F5FD at the lower right;
  // pressed: from #ADE1F5 at the lower left to #D4F1FD at the upper right. The bands that also
  // fill check boxes hold nothing but gradient colours.
  auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
  auto between = [](COLORREF c, COLORREF a, COLORREF b) {
    auto within = [](int v, int p, int q) { return v >= std::min(p, q) && v <= std::max(p, q); };
    return within(GetRValue(c), GetRValue(a), GetRValue(b)) &&
           within(GetGValue(c), GetGValue(a), GetGValue(b)) &&
           within(GetBValue(c), GetBValue(a), GetBValue(b));
  };
  for (int y = 4; y <= 8; ++y) {
    for (int x = 1; x <= 11; ++x) {
      EXPECT_TRUE(between(Option(x, 13 + y), 0xF8EAC3, 0xFDF5E0)) << "hot " << x << ", " << y;
      EXPECT_TRUE(between(Option(x, 26 + y), 0xF5E1AD, 0xFDF1D4)) << "pressed " << x << ", " << y;
    }
  }
  EXPECT_LT(brightness(Option(1, 13 + 4)), brightness(Option(11, 13 + 8)));
  EXPECT_LT(brightness(Option(1, 26 + 8)), brightness(Option(11, 26 + 4)));
}

TEST(SpriteSheetLifetime, ReleaseFreesEverythingAndClearsTheFlag) {
  EXPECT_GDI_OBJECTS_UNCHANGED({
    skin::BuildSpriteSheet();
    EXPECT_TRUE(skin::SpriteSheetBuilt());
    skin::BuildSpriteSheet();  // a second build replaces the first sheet
    EXPECT_NE(skin::ButtonSprite(), nullptr);
    EXPECT_NE(skin::HeaderSprite(), nullptr);
    skin::ReleaseSpriteSheet();
  });
  EXPECT_FALSE(skin::SpriteSheetBuilt());
  EXPECT_EQ(skin::ButtonSprite(), nullptr);
  EXPECT_EQ(skin::ComboSprite(), nullptr);
  EXPECT_EQ(skin::GlyphSprite(), nullptr);
  EXPECT_EQ(skin::OptionSprite(), nullptr);
  EXPECT_EQ(skin::HeaderSprite(), nullptr);
  EXPECT_GDI_OBJECTS_UNCHANGED(skin::ReleaseSpriteSheet());  // a second release does nothing
}

// Sheets at factors 2 and 3 hold every table pixel as a k x k square; each lives from its first
// use to its last, apart from the others.
TEST(SpriteSheetFactors, EveryPixelIsAKByKSquareAndTheLastUseReleasesTheSheet) {
  EXPECT_EQ(skin::SpriteFactorForDpi(96), 1);
  EXPECT_EQ(skin::SpriteFactorForDpi(167), 1);
  EXPECT_EQ(skin::SpriteFactorForDpi(168), 2);
  EXPECT_EQ(skin::SpriteFactorForDpi(263), 2);
  EXPECT_EQ(skin::SpriteFactorForDpi(264), 3);
  EXPECT_EQ(skin::SpriteFactorForDpi(480), 3);
  HDC skin::SpriteSheet::*const surfaces[] = {&skin::SpriteSheet::button, &skin::SpriteSheet::combo,
                                              &skin::SpriteSheet::glyph, &skin::SpriteSheet::option,
                                              &skin::SpriteSheet::header};
  EXPECT_GDI_OBJECTS_UNCHANGED({
    for (int k : {2, 3}) {
      SCOPED_TRACE(testing::Message() << "factor " << k);
      skin::UseSpriteSheet(k);
      skin::UseSpriteSheet(k);
      EXPECT_EQ(skin::SpriteSheetAt(1).button, nullptr);
      for (size_t i = 0; i < std::size(kSheets); ++i) {
        const Sheet& sheet = kSheets[i];
        const std::vector<COLORREF> pixels = testing_support::ReadPixels(
            skin::SpriteSheetAt(k).*surfaces[i], 0, 0, sheet.width * k, sheet.height * k);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(sheet.width * sheet.height * k * k));
        int wrong = 0;
        for (int y = 0; y < sheet.height * k; ++y) {
          for (int x = 0; x < sheet.width * k; ++x) {
            wrong += pixels[static_cast<size_t>(y * sheet.width * k + x)] !=
                     sheet.pixels[(y / k) * sheet.width + x / k];
          }
        }
        EXPECT_EQ(wrong, 0) << sheet.name;
      }
      skin::DropSpriteSheet(k);
      EXPECT_EQ(skin::SpriteSheetUses(k), 1);
      EXPECT_NE(skin::SpriteSheetAt(k).glyph, nullptr);
      skin::DropSpriteSheet(k);
      EXPECT_EQ(skin::SpriteSheetAt(k).glyph, nullptr);
      skin::DropSpriteSheet(k);  // one drop too many changes nothing
      EXPECT_EQ(skin::SpriteSheetUses(k), 0);
    }
  });
  EXPECT_FALSE(skin::SpriteSheetBuilt());
}

// A use builds only the sprites it asks for, each once; a later use adds the ones it lacks, and the
// last drop releases every sprite built. A use one of whose sprites cannot be made takes nothing
// and leaves the sprites it made gone again.
TEST(SpriteSheetUses, BuildOnlyTheSpritesAskedForAndReleaseThemTogether) {
  using skin::Sprites;
  EXPECT_GDI_OBJECTS_UNCHANGED({
    ASSERT_TRUE(skin::UseSpriteSheet(1, Sprites::Button));
    const skin::SpriteSheet& sheet = skin::SpriteSheetAt(1);
    EXPECT_NE(sheet.button, nullptr);
    EXPECT_EQ(sheet.combo, nullptr);
    EXPECT_EQ(sheet.glyph, nullptr);
    EXPECT_EQ(sheet.option, nullptr);
    EXPECT_EQ(sheet.header, nullptr);
    const HDC button = sheet.button;

    ASSERT_TRUE(skin::UseSpriteSheet(1, Sprites::Option | Sprites::Glyph));
    EXPECT_EQ(sheet.button, button) << "a built sprite is not made again";
    EXPECT_NE(sheet.option, nullptr);
    EXPECT_NE(sheet.glyph, nullptr);
    EXPECT_EQ(sheet.header, nullptr);
    EXPECT_EQ(skin::SpriteSheetUses(1), 2);

    skin::DropSpriteSheet(1);
    EXPECT_NE(sheet.option, nullptr) << "sprites stay while the sheet has a use";
    skin::DropSpriteSheet(1);
    EXPECT_FALSE(skin::SpriteSheetBuilt());
  });

  // Out of GDI objects: nothing of the use stays, and what was built before stays as it was.
  ASSERT_TRUE(skin::UseSpriteSheet(1, Sprites::Button));
  const HDC button = skin::SpriteSheetAt(1).button;
  {
    std::vector<win::Region> everyFreeEntry;
    while (HRGN region = CreateRectRgn(0, 0, 1, 1)) everyFreeEntry.emplace_back(region);
    EXPECT_FALSE(skin::UseSpriteSheet(1, Sprites::All));
  }
  EXPECT_EQ(skin::SpriteSheetUses(1), 1);
  EXPECT_EQ(skin::SpriteSheetAt(1).button, button);
  EXPECT_EQ(skin::SpriteSheetAt(1).combo, nullptr);
  EXPECT_EQ(skin::SpriteSheetAt(1).header, nullptr);
  skin::DropSpriteSheet(1);
  EXPECT_FALSE(skin::SpriteSheetBuilt());
}

TEST_F(SpriteSheet, PictureOfTheFiveSheetsEnlarged) {
  // The five surfaces side by side on grey, 2 pixels apart, saved 8 times enlarged.
  constexpr int kGap = 2;
  constexpr COLORREF kGrey = RGB(128, 128, 128);
  int width = kGap;
  int height = 0;
  for (const Sheet& sheet : kSheets) {
    width += sheet.width + kGap;
    height = std::max(height, sheet.height + 2 * kGap);
  }
  skin::Surface picture(width, height);
  ASSERT_TRUE(picture);
  skin::FillSolid(picture.get(), 0, 0, width, height, kGrey);
  int x = kGap;
  for (const Sheet& sheet : kSheets) {
    BitBlt(picture.get(), x, kGap, sheet.width, sheet.height, sheet.surface(), 0, 0, SRCCOPY);
    x += sheet.width + kGap;
  }
  testing_support::SavePicture(picture.get(), 0, 0, width, height, L"sprite_sheets_x8.bmp", 8);
}

}  // namespace
