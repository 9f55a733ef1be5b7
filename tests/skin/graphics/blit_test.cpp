#include "skin/graphics/blit.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "skin/graphics/primitives.h"
#include "skin/graphics/sprite_layout.h"
#include "skin/graphics/sprite_sheet.h"
#include "skin/graphics/surface.h"
#include "tests/support/gdi_accounting.h"
#include "tests/support/pictures.h"

namespace {

using skin::kKeyColour;
using testing_support::ReadPixels;

constexpr COLORREF kBackdrop = 0x123456;

// Pixels of a block, row-major, with a readable accessor.
struct Block {
  std::vector<COLORREF> pixels;
  int width = 0;
  COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Block Read(HDC dc, int x, int y, int width, int height) {
  return {ReadPixels(dc, x, y, width, height), width};
}

Block Read(HDC dc, const skin::SpriteCell& cell) {
  return Read(dc, cell.x, cell.y, cell.width, cell.height);
}

// A surface painted in one colour.
skin::Surface Filled(int width, int height, COLORREF colour) {
  skin::Surface surface(width, height);
  skin::FillSolid(surface.get(), 0, 0, width, height, colour);
  return surface;
}

// A face drawn alone, width x height over the backdrop, read back.
Block DrawnFace(HDC sprite, const skin::SpriteCell& cell, const skin::NineGridMargins& margins,
                int width, int height) {
  skin::Surface dest = Filled(width, height, kBackdrop);
  skin::BlitNineGrid(dest.get(), 0, 0, width, height, sprite, cell, margins);
  return Read(dest.get(), 0, 0, width, height);
}

// Every column x of the face is column columns[x] of the cell, row for row.
void ExpectColumnsOfCell(const Block& face, const Block& cell, const std::vector<int>& columns) {
  const int height = static_cast<int>(face.pixels.size()) / face.width;
  for (int x = 0; x < face.width; ++x) {
    for (int y = 0; y < height; ++y) {
      EXPECT_EQ(face.at(x, y), cell.at(columns[static_cast<size_t>(x)], y)) << x << ", " << y;
    }
  }
}

class Blit : public testing::Test {
 protected:
  void SetUp() override { skin::BuildSpriteSheet(); }
  void TearDown() override { skin::ReleaseSpriteSheet(); }
};

TEST_F(Blit, CellAtItsOwnSizeIsAnExactCopy) {
  struct Case {
    HDC sprite;
    skin::SpriteCell cell;
    skin::NineGridMargins margins;
  };
  const Case cases[] = {
      {skin::ButtonSprite(), skin::ButtonCell(0), skin::kButtonMargins},
      {skin::ButtonSprite(), skin::ButtonCell(3), skin::kButtonMargins},
      {skin::ComboSprite(), skin::kComboPressedFace, skin::kComboFaceMargins},
      {skin::OptionSprite(), skin::OptionCell(2), skin::kOptionMargins},
      {skin::HeaderSprite(), skin::HeaderCell(1), skin::kHeaderMargins},
      {skin::HeaderSprite(), skin::HeaderCell(2), {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    skin::Surface dest = Filled(c.cell.width + 4, c.cell.height + 4, kBackdrop);
    EXPECT_GDI_OBJECTS_UNCHANGED(
        EXPECT_NE(skin::BlitNineGrid(dest.get(), 2, 2, c.cell.width, c.cell.height, c.sprite,
                                     c.cell, c.margins),
                  0));
    EXPECT_EQ(Read(dest.get(), 2, 2, c.cell.width, c.cell.height).pixels,
              Read(c.sprite, c.cell).pixels)
        << "cell at " << c.cell.x << ", " << c.cell.y;
    // Nothing outside the destination rectangle is touched.
    Block around = Read(dest.get(), 0, 0, c.cell.width + 4, c.cell.height + 4);
    EXPECT_EQ(around.at(1, 1), kBackdrop);
    EXPECT_EQ(around.at(c.cell.width + 2, c.cell.height + 2), kBackdrop);
  }
}

TEST_F(Blit, ButtonFaceKeepsItsEdgesAndRepeatsTheCentreColumn) {
  const skin::SpriteCell cell = skin::ButtonCell(1);
  const Block source = Read(skin::ButtonSprite(), cell);
  for (int width : {7, 100}) {
    Block face;
    EXPECT_GDI_OBJECTS_UNCHANGED(
        face = DrawnFace(skin::ButtonSprite(), cell, skin::kButtonMargins, width, 21));
    int centreColumns = 0;
    for (int x = 0; x < width; ++x) {
      bool isCentre = true;
      for (int y = 0; y < 21; ++y) {
        COLORREF expected = x < 3            ? source.at(x, y)
                            : x >= width - 3 ? source.at(x - (width - 7), y)
                                             : source.at(3, y);
        EXPECT_EQ(face.at(x, y), expected) << "width " << width << " at " << x << ", " << y;
        isCentre = isCentre && face.at(x, y) == source.at(3, y);
      }
      centreColumns += isCentre;
    }
    // Column 3 of the cell differs from its neighbours in the corner rows, so it is counted
    // exactly where it was drawn.
    EXPECT_EQ(centreColumns, width - 6) << "width " << width;
  }
}

TEST_F(Blit, ComboFaceStretchesItsOneColumnCentre) {
  // Two columns of edge at the left, one at the right, and column 2 between.
  std::vector<int> columns(20, 2);
  columns[0] = 0;
  columns[1] = 1;
  columns[19] = 3;
  ExpectColumnsOfCell(
      DrawnFace(skin::ComboSprite(), skin::kComboHotFace, skin::kComboFaceMargins, 20, 18),
      Read(skin::ComboSprite(), skin::kComboHotFace), columns);
}

TEST_F(Blit, ZeroSizeDrawsNothing) {
  skin::Surface dest = Filled(8, 8, kBackdrop);
  const Block before = Read(dest.get(), 0, 0, 8, 8);
  const skin::SpriteCell cell = skin::ButtonCell(0);
  EXPECT_GDI_OBJECTS_UNCHANGED({
    EXPECT_EQ(skin::BlitNineGrid(dest.get(), 0, 0, 0, 8, skin::ButtonSprite(), cell,
                                 skin::kButtonMargins),
              0);
    EXPECT_EQ(skin::BlitNineGrid(dest.get(), 0, 0, 8, 0, skin::ButtonSprite(), cell,
                                 skin::kButtonMargins, kKeyColour),
              0);
    EXPECT_EQ(
        skin::BlitNineGrid(dest.get(), 0, 0, 8, 8, skin::ButtonSprite(), 0, 0, 0, 21, 3, 3, 3, 3),
        0);
    EXPECT_EQ(
        skin::BlitNineGrid(dest.get(), 0, 0, 8, 8, skin::ButtonSprite(), 0, 0, 7, 0, 3, 3, 3, 3),
        0);
    // No source: nothing to compose from.
    EXPECT_EQ(skin::BlitNineGrid(dest.get(), 0, 0, 8, 8, nullptr, cell, skin::kButtonMargins), 0);
  });
  EXPECT_EQ(Read(dest.get(), 0, 0, 8, 8).pixels, before.pixels);
}

TEST_F(Blit, KeyedOptionCircleLeavesItsCornersUntouched) {
  for (int state = 0; state < 4; ++state) {
    const skin::SpriteCell cell = skin::OptionCell(state);
    const Block source = Read(skin::OptionSprite(), cell);
    skin::Surface dest = Filled(13, 13, kBackdrop);
    EXPECT_GDI_OBJECTS_UNCHANGED(
        EXPECT_EQ(skin::BlitNineGrid(dest.get(), 0, 0, 13, 13, skin::OptionSprite(), cell,
                                     skin::kOptionMargins, kKeyColour),
                  1));
    const Block drawn = Read(dest.get(), 0, 0, 13, 13);
    for (int y = 0; y < 13; ++y) {
      for (int x = 0; x < 13; ++x) {
        const COLORREF expected = source.at(x, y) == kKeyColour ? kBackdrop : source.at(x, y);
        EXPECT_EQ(drawn.at(x, y), expected) << "state " << state << " at " << x << ", " << y;
      }
    }
  }
}

TEST_F(Blit, FaceNarrowerThanItsMarginsIsNotMirrored) {
  // 4 pixels for margins of 3 and 3: each side keeps its outer 2 columns.
  ExpectColumnsOfCell(
      DrawnFace(skin::ButtonSprite(), skin::ButtonCell(0), skin::kButtonMargins, 4, 21),
      Read(skin::ButtonSprite(), skin::ButtonCell(0)), {0, 1, 5, 6});
}

// A 6 x 2 source: key pixels at (1, 0), (4, 0) and (2, 1); the rest in distinct colours.
skin::Surface KeyedSource(COLORREF key) {
  skin::Surface source(6, 2);
  const COLORREF row0[6] = {0x0000FF, key, 0x00FF00, 0xFFFFFF, key, 0x000000};
  const COLORREF row1[6] = {0xFF0000, 0x808080, key, 0x010203, 0xFEFDFC, 0x00FFFF};
  for (int x = 0; x < 6; ++x) {
    SetPixel(source.get(), x, 0, row0[x]);
    SetPixel(source.get(), x, 1, row1[x]);
  }
  return source;
}

TEST(BlitTransparent, LeavesKeyPixelsAndCopiesAllOthers) {
  skin::Surface source = KeyedSource(kKeyColour);
  const Block sprite = Read(source.get(), 0, 0, 6, 2);
  skin::Surface dest = Filled(10, 6, kBackdrop);
  EXPECT_GDI_OBJECTS_UNCHANGED(
      skin::BlitTransparent(dest.get(), 3, 2, 6, 2, source.get(), 0, 0, kKeyColour));
  const Block drawn = Read(dest.get(), 0, 0, 10, 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 10; ++x) {
      bool inBlock = x >= 3 && x < 9 && y >= 2 && y < 4;
      COLORREF expected = kBackdrop;
      if (inBlock && sprite.at(x - 3, y - 2) != kKeyColour) expected = sprite.at(x - 3, y - 2);
      EXPECT_EQ(drawn.at(x, y), expected) << x << ", " << y;
    }
  }
}

TEST(BlitTransparent, AbsentKeyCopiesTheBlockOpaquely) {
  skin::Surface source = KeyedSource(0x00FF00);  // green stands where the key would
  skin::Surface dest = Filled(6, 2, kBackdrop);
  skin::BlitTransparent(dest.get(), 0, 0, 6, 2, source.get(), 0, 0, kKeyColour);
  EXPECT_EQ(Read(dest.get(), 0, 0, 6, 2).pixels, Read(source.get(), 0, 0, 6, 2).pixels);
}

TEST(BlitTransparent, SourceColoursDoNotMatterAndAreKept) {
  skin::Surface source = KeyedSource(kKeyColour);
  skin::Surface reference = Filled(6, 2, kBackdrop);
  skin::BlitTransparent(reference.get(), 0, 0, 6, 2, source.get(), 0, 0, kKeyColour);

  const COLORREF textColours[] = {0x000000, kKeyColour, 0x00FF00};
  const COLORREF backColours[] = {0xFFFFFF, 0x0000FF, kKeyColour};
  for (int i = 0; i < 3; ++i) {
    SetTextColor(source.get(), textColours[i]);
    SetBkColor(source.get(), backColours[i]);
    skin::Surface dest = Filled(6, 2, kBackdrop);
    skin::BlitTransparent(dest.get(), 0, 0, 6, 2, source.get(), 0, 0, kKeyColour);
    EXPECT_EQ(Read(dest.get(), 0, 0, 6, 2).pixels, Read(reference.get(), 0, 0, 6, 2).pixels)
        << "colours " << i;
    EXPECT_EQ(GetTextColor(source.get()), textColours[i]);
    EXPECT_EQ(GetBkColor(source.get()), backColours[i]);
  }
}

TEST(BlitTransparent, TranslatesASystemColourKey) {
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  skin::Surface source = KeyedSource(window);
  skin::Surface dest = Filled(6, 2, kBackdrop);
  skin::BlitTransparent(dest.get(), 0, 0, 6, 2, source.get(), 0, 0, 0x80000000 | COLOR_WINDOW);
  const Block drawn = Read(dest.get(), 0, 0, 6, 2);
  EXPECT_EQ(drawn.at(1, 0), kBackdrop);
  EXPECT_EQ(drawn.at(2, 1), kBackdrop);
  EXPECT_EQ(drawn.at(0, 0), 0x0000FFu);
}

TEST_F(Blit, PictureOfFacesAtSeveralSizes) {
  // Button faces in the four states, option circles, combo faces with their arrows and header
  // items, mostly stretched, on white, saved 3 times enlarged.
  struct Face {
    HDC sprite;
    skin::SpriteCell cell;
    skin::NineGridMargins margins;
    std::optional<COLORREF> key;
    int x, y, width, height;
  };
  std::vector<Face> faces;
  for (int state = 0; state < 4; ++state) {
    faces.push_back({skin::ButtonSprite(), skin::ButtonCell(state), skin::kButtonMargins,
                     std::nullopt, 4, 4 + 30 * state, 90, 24});
    faces.push_back({skin::OptionSprite(), skin::OptionCell(state), skin::kOptionMargins,
                     kKeyColour, 100, 4 + 30 * state, 13, 13});
  }
  faces.push_back({skin::ComboSprite(), skin::kComboHotFace, skin::kComboFaceMargins, std::nullopt,
                   120, 4, 17, 21});
  faces.push_back({skin::ComboSprite(), skin::kComboPressedFace, skin::kComboFaceMargins,
                   std::nullopt, 140, 4, 17, 21});
  for (int state = 0; state < 3; ++state) {
    faces.push_back({skin::HeaderSprite(), skin::HeaderCell(state), skin::kHeaderMargins,
                     std::nullopt, 120 + 40 * state, 40, 40, 22});
  }
  skin::Surface picture = Filled(240, 140, 0xFFFFFF);
  for (const Face& f : faces) {
    skin::BlitNineGrid(picture.get(), f.x, f.y, f.width, f.height, f.sprite, f.cell, f.margins,
                       f.key);
  }
  skin::BlitTransparent(picture.get(), 125, 12, skin::ComboSprite(), skin::kComboArrowEnabled);
  skin::BlitTransparent(picture.get(), 145, 12, skin::ComboSprite(), skin::kComboArrowEnabled);
  testing_support::SavePicture(picture.get(), 0, 0, 240, 140, L"blit_faces_x3.bmp", 3);

  // However stretched, a face shows the four corners of its cell; a key pixel leaves the white
  // picture showing.
  for (const Face& f : faces) {
    SCOPED_TRACE(testing::Message() << "face at " << f.x << ", " << f.y);
    const Block cell = Read(f.sprite, f.cell);
    const Block drawn = Read(picture.get(), f.x, f.y, f.width, f.height);
    const auto corner = [&cell](int x, int y) -> COLORREF {
      return cell.at(x, y) == kKeyColour ? 0xFFFFFF : cell.at(x, y);
    };
    EXPECT_EQ(drawn.at(0, 0), corner(0, 0));
    EXPECT_EQ(drawn.at(f.width - 1, 0), corner(f.cell.width - 1, 0));
    EXPECT_EQ(drawn.at(0, f.height - 1), corner(0, f.cell.height - 1));
    EXPECT_EQ(drawn.at(f.width - 1, f.height - 1), corner(f.cell.width - 1, f.cell.height - 1));
  }
}

}  // namespace
