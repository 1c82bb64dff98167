// The sprite manager's budget for all stored images: what would pass it is refused and logged,
// and deleting the textures makes room again.
#include "engine/sprite_manager.h"

#include <gtest/gtest.h>

#include "engine/app_log.h"
#include "fake_sprite_host.h"
#include "support/temp_folder.h"

namespace {

using TestSupport::FakeSpriteHost;
using TestSupport::SolidImage;

TEST(SpriteBudgetTest, ImagesPastThePixelBudgetAreRefusedAndLogged) {
    TestSupport::TempFolder user;
    Quillory::SetLogFilePath(user.File("applog.htm").c_str());
    FakeSpriteHost host;
    host.Provide("a.png", SolidImage(10, 10, 0xFFFFFFFFu));
    host.Provide("b.png", SolidImage(20, 10, 0xFFFFFFFFu));
    Quillory::CSpriteManager sprites;
    sprites.SetHost(&host);
    EXPECT_EQ(sprites.StoredPixels(), 0);
    sprites.SetPixelBudget(250);

    EXPECT_NE(sprites.GetTexture("a.png"), nullptr);
    EXPECT_EQ(sprites.GetTexture("b.png"), nullptr);  // 100 + 200 > 250
    EXPECT_EQ(sprites.StoredPixels(), 100);
    EXPECT_EQ(sprites.TextureCount(), 1);
    EXPECT_NE(user.Read("applog.htm").find("'b.png' ... REFUSED"), std::string::npos);

    sprites.DeleteAllTextures();
    EXPECT_EQ(sprites.StoredPixels(), 0);
    EXPECT_NE(sprites.GetTexture("b.png"), nullptr);
    Quillory::SetLogFilePath(nullptr);
}

}  // namespace
