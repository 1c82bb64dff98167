#include "effects/effect2d.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "engine/fake_sprite_host.h"
#include "engine/ini_access.h"
#include "engine/sound_event_player.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "support/user_folder.h"

namespace {

using namespace Quillory;
using TestSupport::CellSheet;
using TestSupport::SolidImage;

class RecordingSounds : public SoundEventPlayer {
public:
    void PlaySoundEvent(const char* eventName) override { names.push_back(eventName); }
    std::vector<std::string> names;
};

// A 200 x 200 screen. The font's cells are 10 x 10 pixels, so the glyph "A" (cell 0, colour
// 0xFF000001) drawn at height 0.05 covers exactly 10 x 10 pixels.
class Effect2dTest : public ::testing::Test, protected TestSupport::SpriteStage {
protected:
    Effect2dTest() : SpriteStage(200, 200) {
        SetLanguageName("ENGLISH");
        user_.Write("language.ini", "[ENGLISH]\r\nSymbolList=A\r\nLine01_Width=16\r\n");
        host.Provide("English\\font01.png", CellSheet(16, 8, 10, 10));
        host.Provide("Graphics\\digits.png", CellSheet(10, 1, 4, 6));
        host.Provide("sheet.png", CellSheet(4, 1, 8, 8));
        host.Provide("white.png", SolidImage(10, 10, 0xFFFFFFFF));
        sprites.InitSymbolFont("English\\font01.png");
        white_ = sprites.GetTexture("white.png");
    }
    void Step(uint32_t milliseconds) {
        clock_.Advance(milliseconds);
        effects_.Update();
    }
    // Draws one layer onto the cleared screen; returns the box of the pixels drawn.
    Tuvo::Rect Redraw(int layer) {
        Clear();
        effects_.Draw(layer);
        return TestSupport::DrawnBox(target);
    }
    uint32_t AlphaAt(int x, int y) const { return target.GetPixel(x, y) >> 24; }

    TestSupport::TestUserFolder user_;
    Tuvo::Image* white_ = nullptr;
    Platform::ManualClock clock_;
    Platform::RandomGenerator random_{7};
    RecordingSounds sounds_;
    CEffect2d effects_{clock_, random_, &sounds_, &sprites};
};

// Within a pixel: float positions may truncate either way.
void ExpectBox(const Tuvo::Rect& box, int left, int top, int width, int height) {
    EXPECT_NEAR(box.x, left, 1);
    EXPECT_NEAR(box.y, top, 1);
    EXPECT_NEAR(box.width, width, 1);
    EXPECT_NEAR(box.height, height, 1);
}

TEST_F(Effect2dTest, ADelayedEffectWaitsUnseenThenShowsFromProgressZero) {
    ASSERT_EQ(effects_.AddShrinkSprite(1, 0.5f, 1.0f, 0.5f, 0.5f, 0.2f, 0.2f, white_), 1);
    // Without a duration an effect never starts and waits for Clear.
    effects_.AddGrowSprite(1, 0, 0, 0.5f, 0.5f, 0.4f, 0.4f, white_);
    effects_.AddGrowSprite(1, 0, -1.0f, 0.5f, 0.5f, 0.4f, 0.4f, white_);
    Step(400);
    EXPECT_EQ(Redraw(1).width, 0);
    Step(100);  // the start ends the pending state and does nothing else
    EXPECT_EQ(Redraw(1), Tuvo::Rect(80, 80, 40, 40));
    Step(500);
    EXPECT_EQ(Redraw(1), Tuvo::Rect(90, 90, 20, 20));
    Step(500);
    Step(10);
    EXPECT_EQ(effects_.Count(), 2);
    EXPECT_TRUE(effects_.Record(0).pending);
    effects_.Clear();
    EXPECT_EQ(effects_.Count(), 0);
}

TEST_F(Effect2dTest, TweensEndExactlyStayOneMoreUpdateAndStartActionsFireOnce) {
    float value = -5;
    effects_.AddFloatTween(0, 1.0f, 2.0f, 4.0f, &value);
    std::vector<float> values;
    for (uint32_t ms : {0, 250, 1300}) {  // the last overshoots: clamped to the end value
        Step(ms);
        values.push_back(value);
    }
    EXPECT_EQ(values, std::vector<float>({2.0f, 2.5f, 4.0f}));
    EXPECT_TRUE(effects_.Record(0).done);
    value = 7;
    Step(10);
    EXPECT_EQ(effects_.Count(), 0);
    EXPECT_EQ(value, 7.0f);

    int score = 10;
    int full = INT_MAX - 1;
    effects_.AddSound(0.5f, "place_shape");
    effects_.AddIntAdd(0.25f, 50, &score);
    effects_.AddIntAdd(0, 5, &full);
    for (int i = 0; i < 30; ++i) {
        Step(100);
    }
    EXPECT_EQ(sounds_.names, std::vector<std::string>{"place_shape"});
    EXPECT_EQ(score, 60);
    EXPECT_EQ(full, INT_MAX);  // stops at the limit instead of overflowing
    EXPECT_EQ(effects_.Count(), 0);
}

TEST_F(Effect2dTest, TheListHoldsAHundredAndFiftyEffectsWithTextsCutAt255) {
    const std::string longText(300, 'x');
    for (int i = 0; i < kMaxEffects; ++i) {
        ASSERT_EQ(effects_.AddSound(1.0f, longText.c_str()), 1);
    }
    EXPECT_EQ(std::string(effects_.Record(0).text), longText.substr(0, 255));
    float f = 0;
    int n = 0;
    EXPECT_EQ(effects_.AddFadeText(1, 0, 1, 0, 0, "A", true), 0);
    EXPECT_EQ(effects_.AddFollowSprite(1, 0, 1, &f, &f, white_), 0);
    EXPECT_EQ(effects_.AddParticleBurst(1, 0, 1, 0, 0, 1, 1, white_, true), 0);
    EXPECT_EQ(effects_.AddFloatTween(0, 1, 0, 1, &f), 0);
    EXPECT_EQ(effects_.AddIntAdd(0, 1, &n), 0);
    EXPECT_EQ(effects_.Count(), kMaxEffects);
}

TEST_F(Effect2dTest, LayerSelection) {
    effects_.AddShrinkSprite(1, 0, 1, 0.25f, 0.5f, 0.1f, 0.1f, white_);
    effects_.AddShrinkSprite(2, 0, 1, 0.5f, 0.5f, 0.1f, 0.1f, white_);
    effects_.AddShrinkSprite(kAllLayers, 0, 1, 0.75f, 0.5f, 0.1f, 0.1f, white_);
    effects_.Update();
    ExpectBox(Redraw(1), 40, 90, 120, 20);
    EXPECT_EQ(target.GetPixel(100, 100), 0u);
    EXPECT_EQ(Redraw(kAllLayers), Tuvo::Rect(140, 90, 20, 20));
    EXPECT_EQ(Redraw(2), Tuvo::Rect(90, 90, 70, 20));
    // Nothing is drawn without a drawing target or sprite manager.
    sprites.SetTarget(nullptr);
    EXPECT_EQ(Redraw(kAllLayers).width, 0);
    sprites.SetTarget(&graphics);
    effects_.SetSprites(nullptr);
    EXPECT_EQ(Redraw(kAllLayers).width, 0);
}

TEST_F(Effect2dTest, BurstsKeepTheirParticleCountAndRingSpacing) {
    effects_.SetDetail(5);
    Platform::RandomGenerator same(7);
    effects_.AddParticleBurst(1, 0, 1.0f, 0.5f, 0.5f, 0.05f, 0.2f, white_, true);
    effects_.SetDetail(10);
    effects_.AddParticleBurst(2, 0, 1.0f, 0.5f, 0.5f, 0.05f, 0.2f, white_, false);
    effects_.AddParticleBurst(3, 0, 1.0f, 0.5f, 0.5f, 0.05f, 0.2f, white_, true);
    effects_.SetDetail(5);  // changes no burst already made
    EXPECT_EQ(effects_.Record(0).particleCount, 5);
    EXPECT_EQ(effects_.Record(1).particleCount, 10);
    for (int i = 0; i < 5; ++i) {
        const Particle& particle = effects_.Record(0).particles[i];
        EXPECT_FLOAT_EQ(particle.spin, static_cast<float>(2 * same.R01() - 1));
    }

    // The rings at p = 0.5 (opaque), then at p = 0.875 (fading: alpha 0.5).
    effects_.Update();
    for (const auto& [ms, alpha] : {std::pair{500u, 255u}, std::pair{375u, 128u}}) {
        Step(ms);
        const float distance = effects_.Record(0).progress * 0.2f;
        for (const auto& [layer, count] : {std::pair{1, 5}, std::pair{3, 10}}) {
            Redraw(layer);
            for (int i = 0; i < count; ++i) {
                const float angle = 2 * 3.14159265f * i / count;
                const int x = static_cast<int>((0.5f + std::cos(angle) * distance) * 200);
                const int y = static_cast<int>((0.5f + std::sin(angle) * distance * 4 / 3) * 200);
                EXPECT_EQ(AlphaAt(x, y), alpha) << "layer " << layer << " particle " << i;
            }
            EXPECT_EQ(target.GetPixel(100, 100), 0u);
        }
    }
}

TEST_F(Effect2dTest, TextsMoveAndFadeWithTheirProgress) {
    effects_.AddRisingText(1, 0, 1.0f, 0.5f, 0.5f, "A", false);
    effects_.AddFlyText(2, 0, 1.0f, 0.2f, 0.2f, 0.8f, 0.8f, "A", false);
    effects_.AddTitleText(3, 0, 1.0f, 0.5f, 0.5f, "A");
    effects_.AddFadeText(4, 0, 1.0f, 0.5f, 0.5f, "12", true);
    effects_.Update();
    EXPECT_EQ(Redraw(1), Tuvo::Rect(95, 95, 10, 10));
    EXPECT_EQ(target.GetPixel(100, 100), 0xFF000001u);  // alpha(1.0) wraps to opaque
    Step(125);
    EXPECT_EQ(Redraw(4), Tuvo::Rect(96, 97, 7, 6));  // digits "1" and "2" fading in
    EXPECT_EQ(target.GetPixel(97, 100), 0x80000002u);
    EXPECT_EQ(target.GetPixel(101, 100), 0x80000003u);
    Step(375);
    ExpectBox(Redraw(1), 95, 80, 10, 10);
    EXPECT_EQ(AlphaAt(100, 85), 128u);
    ExpectBox(Redraw(2), 50, 95, 10, 10);  // x follows p cubed, y p
    EXPECT_EQ(AlphaAt(55, 100), 255u);
    Step(450);
    ExpectBox(Redraw(3), 60, 60, 80, 80);  // the title grows while it fades
    EXPECT_EQ(AlphaAt(100, 100), 128u);
}

TEST_F(Effect2dTest, SpritesGrowAnimateAndFollow) {
    float followX = 0.25f, followY = 0.5f;
    effects_.AddGrowSprite(1, 0, 1.0f, 0.5f, 0.5f, 0.2f, 0.2f, white_);
    effects_.AddAnimSprite(2, 0, 1.0f, 0.5f, 0.5f, sprites.GetTexture("sheet.png"), 4, 1, -0.1f);
    effects_.AddFollowSprite(3, 0, 1.0f, &followX, &followY, white_);
    effects_.AddGrowSprite(4, 0, 1.0f, 0.5f, 0.5f, 0.2f, 0.2f, nullptr);
    effects_.AddParticleBurst(4, 0, 1.0f, 0.5f, 0.5f, 0.1f, 0.2f, nullptr, true);
    effects_.Update();
    EXPECT_EQ(Redraw(3), Tuvo::Rect(45, 95, 10, 10));
    followX = 0.75f;
    EXPECT_EQ(Redraw(3), Tuvo::Rect(145, 95, 10, 10));
    Step(500);
    EXPECT_EQ(Redraw(1), Tuvo::Rect(90, 90, 20, 20));
    // Cell 3 of 4 at half its run, risen 0.05 in half a second, half faded.
    EXPECT_EQ(Redraw(2), Tuvo::Rect(96, 86, 8, 8));
    EXPECT_EQ(target.GetPixel(100, 90), 0x80000003u);
    EXPECT_EQ(Redraw(4).width, 0);  // no image: nothing
}

}  // namespace
