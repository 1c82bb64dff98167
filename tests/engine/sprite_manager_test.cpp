#include "engine/sprite_manager.h"

#include <gtest/gtest.h>

#include <thread>

#include "engine/ini_access.h"
#include "fake_sprite_host.h"
#include "framework/archive/pak_file.h"
#include "framework/archive/pak_format.h"
#include "support/user_folder.h"

namespace {

using namespace Quillory;
using TestSupport::CellSheet;
using TestSupport::SolidImage;
using TestSupport::TempFolder;

constexpr uint32_t kRed = 0xFFFF0000;

class SpriteManagerTest : public ::testing::Test, protected TestSupport::SpriteStage {
protected:
    SpriteManagerTest() : SpriteStage(100, 100) { user_.StartLog(); }
    uint32_t Pixel(int x, int y) const { return target.GetPixel(x, y); }
    Tuvo::Rect Drawn() const { return TestSupport::DrawnBox(target); }
    // Clears the screen, draws the image's left `right` part untinted and returns what it covers.
    Tuvo::Rect DrawnSprite(Tuvo::Image* image, float x, float y, float width, float height,
                           int flags = 0, float angle = 0, float right = 1) {
        Clear();
        sprites.DrawSprite(image, x, y, width, height, 0, 0, right, 1, kNoTint, flags, angle);
        return Drawn();
    }

    TestSupport::TestUserFolder user_;
};

// One walk through the store: exact keys, failures retried but logged once, the 751st image and
// the pixel budget refused, and everything freed.
TEST_F(SpriteManagerTest, ImagesLoadOnceUnderExactKeysWithinTheCountAndPixelLimits) {
    EXPECT_EQ(sprites.GetTexture("missing.png"), nullptr);
    EXPECT_EQ(sprites.GetTexture("missing.png"), nullptr);
    EXPECT_EQ(host.loads["missing.png"], 2);
    EXPECT_EQ(user_.LogCount("Loading image: 'missing.png' ... FAILED"), 1);
    host.ProvideAnyName(true);
    Tuvo::Image* first = sprites.GetTexture("Graphics\\grey.png");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(sprites.GetTexture("Graphics\\grey.png"), first);
    sprites.LoadTexture("Graphics\\", "grey.png");
    EXPECT_EQ(host.loads["Graphics\\grey.png"], 1);
    // Keys differ by letter case: a second entry (the failure took no slot).
    EXPECT_NE(sprites.GetTexture("Graphics\\Grey.png"), first);
    EXPECT_EQ(user_.LogCount("Loading image: 'Graphics\\Grey.png' ... OK (2 loaded) (32 bit)"), 1);
    for (int i = 2; i < CSpriteManager::kMaxTextures; ++i) {
        ASSERT_NE(sprites.GetTexture(("img" + std::to_string(i) + ".png").c_str()), nullptr);
    }
    EXPECT_EQ(user_.LogCount("Overflow error"), 0);
    EXPECT_EQ(sprites.GetTexture("one-more.png"), nullptr);
    EXPECT_EQ(host.loads.count("one-more.png"), 0u);
    EXPECT_EQ(user_.LogCount("Overflow error: maximum textures count"), 1);
    EXPECT_NE(sprites.GetTexture("img749.png"), nullptr);
    sprites.DeleteAllTextures();  // empties the count and the pixels the budget below weighs
    EXPECT_EQ(user_.LogCount("CSpriteManager::DeleteAllTextures()"), 1);
    EXPECT_NE(sprites.GetTexture("one-more.png"), nullptr);

    // 16 + 100 + 200 pixels are past a budget of 250: the last is refused, and logged.
    host.Provide("a.png", SolidImage(10, 10, kRed));
    host.Provide("b.png", SolidImage(20, 10, kRed));
    sprites.SetPixelBudget(250);
    EXPECT_NE(sprites.GetTexture("a.png"), nullptr);
    EXPECT_EQ(sprites.GetTexture("b.png"), nullptr);
    EXPECT_EQ(sprites.StoredPixels(), 116);
    EXPECT_EQ(sprites.TextureCount(), 2);
    EXPECT_EQ(user_.LogCount("'b.png' ... REFUSED"), 1);
    sprites.DeleteAllTextures();
    EXPECT_NE(sprites.GetTexture("b.png"), nullptr);
}

TEST_F(SpriteManagerTest, TwoThreadsLoadingTheSameImagesKeepOneEntryEach) {
    host.ProvideAnyName(true);
    std::barrier<> meeting(2);
    host.meeting = &meeting;
    // Neither thread may leave the meeting early, or the other would wait there for ever.
    auto loadAll = [this, &meeting] {
        for (int i = 0; i < 200; ++i) {
            EXPECT_NE(sprites.GetTexture(("shared" + std::to_string(i) + ".png").c_str()), nullptr);
        }
        meeting.arrive_and_drop();
    };
    std::thread loader(loadAll);
    loadAll();
    loader.join();
    EXPECT_EQ(sprites.TextureCount(), 200);
}

TEST_F(SpriteManagerTest, PreloadingScansTheFourPatternsAndSkipsSubfolders) {
    TempFolder data;
    TestSupport::ScopedCurrentDirectory inData(data.Path());
    for (const char* name : {"Graphics/b.png", "Graphics/a.png", "Graphics/c.jpg", "Graphics/d.tga",
                             "Graphics/e.bmp", "Graphics/notes.txt", "Graphics/Shapes/s.png"}) {
        data.Write(name, "x");
    }
    // The archive holds one more picture and a subfolder picture, which a search of
    // "Graphics\*.png" reports with the directory attribute.
    std::vector<uint8_t> archive;
    ASSERT_TRUE(Tuvo::BuildPak({{"Graphics\\f.png", 0, {1}}, {"Graphics\\Shapes\\t.png", 0, {1}}},
                               archive));
    data.Write("main.pak", std::string(archive.begin(), archive.end()));
    Tuvo::PakInterface layer(false);
    ASSERT_TRUE(layer.MountArchive("main.pak"));
    Tuvo::RegisterPakInterface(&layer);

    host.ProvideAnyName(true);
    EXPECT_EQ(sprites.CountImages("Graphics\\"), 6);
    EXPECT_EQ(sprites.CountImages("Graphics\\Shapes\\"), 2);
    int loaded = 0;
    for (bool more = sprites.PreloadFolder("Graphics\\", 1); more;
         more = sprites.PreloadFolder("Graphics\\", 2)) {
        ++loaded;
    }
    Tuvo::RegisterPakInterface(nullptr);
    EXPECT_EQ(loaded, 6);
    EXPECT_FALSE(sprites.PreloadFolder("Graphics\\", 2));
    EXPECT_EQ(host.totalLoads, 6) << "a subfolder's picture was loaded";
    // Pattern order first, then the search order within a pattern (archive before disk).
    const std::string log = user_.Log();
    size_t previous = 0;
    for (const char* name : {"f.png", "a.png", "b.png", "c.jpg", "d.tga", "e.bmp"}) {
        const size_t at = log.find(std::string("'Graphics\\") + name + "'");
        EXPECT_TRUE(at != std::string::npos && at > previous) << name << "\n" << log;
        previous = at;
    }
    EXPECT_FALSE(sprites.PreloadFolder("Sound\\", 1));  // an empty folder
    // The brightness default was written once.
    char value[kConfigValueSize];
    ASSERT_TRUE(ReadConfigString("VIDEO", "Brightness", value));
    EXPECT_STREQ(value, "0.500000");
}

TEST_F(SpriteManagerTest, StretchedAndNaturalSizeDraws) {
    host.Provide("red.png", SolidImage(10, 10, kRed));
    Tuvo::Image* image = sprites.GetTexture("red.png");
    EXPECT_EQ(DrawnSprite(image, 0.5f, 0.5f, 0.2f, 0.2f), Tuvo::Rect(40, 40, 20, 20));
    EXPECT_EQ(Pixel(50, 50), kRed);
    // Flag 8 ignores width and height: half the image, unscaled, centred.
    EXPECT_EQ(DrawnSprite(image, 0.5f, 0.5f, 0.9f, 0.9f, kSpriteNaturalSize, 0, 0.5f),
              Tuvo::Rect(47, 45, 5, 10));
    // Wholly outside the screen: nothing; partly outside: the visible part.
    EXPECT_EQ(DrawnSprite(image, -0.1f, 0.5f, 0.2f, 0.2f).width, 0);
    EXPECT_EQ(DrawnSprite(image, 0.05f, 0.5f, 0.2f, 0.2f), Tuvo::Rect(0, 40, 15, 20));

    EXPECT_EQ(sprites.DrawSprite(nullptr, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, 0, 0),
              kDrawFailed);
    sprites.SetTarget(nullptr);
    EXPECT_EQ(sprites.DrawSprite(image, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, 0, 0),
              kDrawFailed);
}

TEST_F(SpriteManagerTest, ColourAndModeDoNotLeakToTheNextDraw) {
    host.Provide("white.png", SolidImage(10, 10, 0xFFFFFFFF));
    host.Provide("grey.png", SolidImage(10, 10, 0xFF202020));
    Tuvo::Image* white = sprites.GetTexture("white.png");
    Tuvo::Image* grey = sprites.GetTexture("grey.png");
    sprites.DrawSprite(white, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, 0xFF00FF00, 0, 0);
    EXPECT_EQ(Pixel(50, 50), 0xFF00FF00u);
    EXPECT_FALSE(graphics.GetTintImages());

    target.FillRect(Tuvo::Rect(0, 0, 100, 100), Tuvo::Color(0xFF101010u), Tuvo::kDrawModeNormal);
    sprites.DrawSprite(grey, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, kSpriteAdditiveMode, 0);
    EXPECT_EQ(Pixel(50, 50), 0xFF303030u);
    EXPECT_EQ(graphics.GetDrawMode(), Tuvo::kDrawModeNormal);
    // Flag 1 selects the normal mode even when the context was left additive by someone else.
    graphics.SetDrawMode(Tuvo::kDrawModeAdditive);
    sprites.DrawSprite(grey, 0.2f, 0.2f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, kSpriteNormalMode, 0);
    EXPECT_EQ(Pixel(20, 20), 0xFF202020u);
}

TEST_F(SpriteManagerTest, RotationFollowsTheRoute) {
    host.Provide("bar.png", SolidImage(20, 10, kRed));
    Tuvo::Image* bar = sprites.GetTexture("bar.png");
    const float quarterTurn = 3.14159265f / 2;
    // Software renderer without flag 8: the angle is ignored.
    EXPECT_EQ(DrawnSprite(bar, 0.5f, 0.5f, 0.2f, 0.1f, 0, quarterTurn), Tuvo::Rect(40, 45, 20, 10));
    // Natural size turns the cell about its centre on either renderer.
    Tuvo::Rect turned = DrawnSprite(bar, 0.5f, 0.5f, 0, 0, kSpriteNaturalSize, quarterTurn);
    EXPECT_NEAR(turned.width, 10, 1);
    EXPECT_NEAR(turned.height, 20, 1);
    EXPECT_NEAR(turned.x + turned.width / 2.0, 50, 1);
    // The accelerated renderer turns stretched sprites too, about the pixel centre.
    host.is3D = true;
    turned = DrawnSprite(bar, 0.5f, 0.5f, 0.4f, 0.2f, 0, quarterTurn);
    EXPECT_NEAR(turned.width, 20, 1);
    EXPECT_NEAR(turned.height, 40, 1);
    EXPECT_NEAR(turned.x + turned.width / 2.0, 50, 1);
    EXPECT_NEAR(turned.y + turned.height / 2.0, 50, 1);
}

TEST_F(SpriteManagerTest, AnimationCellsByTimerAndByPhase) {
    host.Provide("sheet.png", CellSheet(4, 1, 10, 10));
    Tuvo::Image* sheet = sprites.GetTexture("sheet.png");
    // 1.25 s at one sheet per second: trunc(1.25 * 4) mod 4 = 1, the second cell.
    host.milliseconds = 1250;
    sprites.DrawAnimFrame(sheet, 0.5f, 0.5f, 0, 0, kSpriteNaturalSize, 4, 1, 1.0f, kNoTint);
    EXPECT_EQ(Drawn(), Tuvo::Rect(45, 45, 10, 10));
    EXPECT_EQ(Pixel(50, 50), 0xFF000002u);
    // Stretched cells take the given size; a phase picks the cell whatever the time (the
    // effects' animated sprites draw phases at natural size).
    Clear();
    sprites.DrawAnimFrame(sheet, 0.5f, 0.5f, 0.2f, 0.2f, kSpritePhase, 4, 1, 0.99f, kNoTint);
    EXPECT_EQ(Drawn(), Tuvo::Rect(40, 40, 20, 20));
    EXPECT_EQ(Pixel(50, 50), 0xFF000004u);

    const TextureRect cell = CSpriteManager::CellRect(6, 4, 2);
    EXPECT_EQ((std::vector<float>{cell.sx0, cell.sy0, cell.sx1, cell.sy1}),
              (std::vector<float>{0.25f, 0.5f, 0.5f, 1.0f}));
    for (int frame : {0, 9, -1}) {
        const TextureRect empty = CSpriteManager::CellRect(frame, 4, 2);
        EXPECT_EQ(empty.sx0 + empty.sy0 + empty.sx1 + empty.sy1, 0) << frame;
    }
}

TEST_F(SpriteManagerTest, GaugesFillUpwardAndRightward) {
    host.Provide("back.png", SolidImage(20, 10, 0xFF000080));
    host.Provide("fill.png", SolidImage(20, 10, kRed));
    Tuvo::Image* back = sprites.GetTexture("back.png");
    Tuvo::Image* fill = sprites.GetTexture("fill.png");
    // Natural size, horizontal, 25%: the left 5 of 20 pixels are filled.
    sprites.DrawGauge(back, fill, 0.5f, 0.5f, 0, 0, 25, kGaugeNaturalSize | kGaugeHorizontal);
    EXPECT_EQ(Drawn(), Tuvo::Rect(40, 45, 20, 10));
    EXPECT_EQ(Pixel(44, 50), kRed);
    EXPECT_EQ(Pixel(45, 50), 0xFF000080u);
    // Stretched, vertical, 30% of a 40-pixel bar: the bottom 12 pixels.
    Clear();
    sprites.DrawGauge(back, fill, 0.5f, 0.5f, 0.2f, 0.4f, 30, kGaugeVertical);
    EXPECT_EQ(Drawn(), Tuvo::Rect(40, 30, 20, 40));
    EXPECT_EQ(Pixel(50, 58), kRed);
    EXPECT_EQ(Pixel(50, 57), 0xFF000080u);
}

// Centring and the digits' cells are also drawn by the effects' fading texts.
TEST_F(SpriteManagerTest, DigitsAreCentredOnXAndOtherCharactersKeepTheirPlace) {
    host.Provide("digits.png", CellSheet(10, 1, 10, 10));
    Tuvo::Image* digits = sprites.GetTexture("digits.png");
    // Scale 2 doubles the cells: three places of 20 pixels, the middle one empty.
    sprites.DrawDigits(digits, 0.5f, 0.5f, 1.0f, kNoTint, "9x9", 2.0f);
    EXPECT_EQ(Drawn(), Tuvo::Rect(20, 40, 60, 20));
    EXPECT_EQ(Pixel(50, 50), 0u);
    EXPECT_EQ(Pixel(25, 50), 0xFF00000Au);
}

}  // namespace
