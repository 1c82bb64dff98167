// Renders one typical play-screen frame into an 800x600 image, once with our MemoryImage back
// end (through the drawing context, as the game does) and once with pixman, and prints both
// times and the ratio ours/pixman. Images are made procedurally with a fixed seed.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

#include "framework/graphics/graphics.h"
#include "framework/graphics/memory_image.h"

namespace {

using Tuvo::Color;
using Tuvo::Graphics;
using Tuvo::MemoryImage;
using Tuvo::Rect;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr uint32_t kGlyphTint = 0xFFFFD040u;

// A soft-edged shape: a rounded blob of one colour with a smooth alpha edge and some shading.
void MakeSoftShape(MemoryImage& image, int width, int height, std::mt19937& random) {
    image.Create(width, height);
    const uint32_t base = random() & 0x00FFFFFFu;
    const double cx = width / 2.0;
    const double cy = height / 2.0;
    const double radius = std::min(width, height) * (0.38 + (random() % 10) / 100.0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double edge = std::clamp((radius - distance) / 3.0, 0.0, 1.0);
            const uint32_t alpha = static_cast<uint32_t>(std::lround(edge * 255));
            const uint32_t shade = static_cast<uint32_t>((x + y) % 32);
            uint32_t color = base;
            color = (color & 0xFF00FFu) | ((((color >> 8) & 0xFF) ^ shade) << 8);
            image.GetBits()[y * width + x] = (alpha << 24) | color;
        }
    }
    image.BitsChanged();
}

void MakeOpaque(MemoryImage& image, int width, int height, std::mt19937& random) {
    image.Create(width, height);
    const uint32_t base = random() & 0x00FFFFFFu;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.GetBits()[y * width + x] =
                0xFF000000u | (base ^ (static_cast<uint32_t>((x * 3) ^ (y * 5)) & 0x3F3F3Fu));
        }
    }
    image.BitsChanged();
}

// The frame overlay: opaque 40-pixel border, transparent inside.
void MakeFrameOverlay(MemoryImage& image) {
    image.Create(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const bool border =
                x < 40 || y < 40 || x >= kScreenWidth - 40 || y >= kScreenHeight - 40;
            image.GetBits()[y * kScreenWidth + x] = border ? 0xFF302818u : 0u;
        }
    }
    image.BitsChanged();
}

struct Placement {
    int x;
    int y;
    int image;
};

// Everything a frame draws, shared by both renderers.
struct Scene {
    MemoryImage background;
    std::vector<std::unique_ptr<MemoryImage>> tiles;  // line tiles, cells and conveyor pictures
    MemoryImage panel;
    MemoryImage overlay;
    std::vector<std::unique_ptr<MemoryImage>> glyphs;
    MemoryImage particle;
    std::vector<Placement> lineTiles, cells, conveyor, glyphQuads, particles;

    Scene() {
        std::mt19937 random(20261206);
        MakeOpaque(background, 640, 480, random);
        for (int i = 0; i < 24; ++i) {
            tiles.push_back(std::make_unique<MemoryImage>());
            MakeSoftShape(*tiles.back(), 71, 71, random);
        }
        MakeOpaque(panel, 800, 90, random);
        MakeFrameOverlay(overlay);
        for (int i = 0; i < 10; ++i) {
            glyphs.push_back(std::make_unique<MemoryImage>());
            MakeSoftShape(*glyphs.back(), 20, 28, random);
        }
        MakeSoftShape(particle, 48, 48, random);
        for (int i = 0; i < 36; ++i) {
            lineTiles.push_back({140 + (i % 6) * 106, 20 + (i / 6) * 78, i % 4});
        }
        for (int i = 0; i < 66; ++i) {
            cells.push_back({150 + (i % 6) * 106 + (i % 3), 14 + (i / 6) * 44, 4 + i % 16});
        }
        for (int i = 0; i < 7; ++i) {
            conveyor.push_back({60 + i * 100, 515, 20 + i % 4});
        }
        for (int i = 0; i < 60; ++i) {
            glyphQuads.push_back({20 + (i % 30) * 22, 540 + (i / 30) * 30, i % 10});
        }
        for (int i = 0; i < 10; ++i) {
            particles.push_back({200 + i * 45, 250 + (i % 3) * 30, 0});
        }
    }
};

void RenderOurs(const Scene& scene, MemoryImage& screen) {
    Graphics g(&screen);
    g.SetColor(Color(0, 0, 0));
    g.FillRect(0, 0, kScreenWidth, kScreenHeight);
    g.SetQuickScaling(true);
    auto* background = const_cast<MemoryImage*>(&scene.background);
    g.DrawImage(background, Rect(128, 6, 688, 516), Rect(0, 0, 640, 480));
    for (const Placement& p : scene.lineTiles) {
        g.DrawImage(scene.tiles[p.image].get(), p.x, p.y);
    }
    for (const Placement& p : scene.cells) {
        g.DrawImage(scene.tiles[p.image].get(), p.x, p.y);
    }
    g.DrawImage(const_cast<MemoryImage*>(&scene.panel), 0, 505);
    for (const Placement& p : scene.conveyor) {
        g.DrawImage(scene.tiles[p.image].get(), p.x, p.y);
    }
    g.DrawImage(const_cast<MemoryImage*>(&scene.overlay), 0, 0);
    g.SetTintImages(true);
    g.SetColor(Color(kGlyphTint));
    for (const Placement& p : scene.glyphQuads) {
        g.DrawImage(scene.glyphs[p.image].get(), p.x, p.y);
    }
    g.SetDrawMode(Tuvo::kDrawModeAdditive);
    g.SetColor(Color(255, 255, 255, 128));
    for (const Placement& p : scene.particles) {
        g.DrawImage(const_cast<MemoryImage*>(&scene.particle), p.x, p.y);
    }
    g.SetDrawMode(Tuvo::kDrawModeNormal);
    g.SetTintImages(false);
    g.SetColor(Color(0, 0, 0, 128));
    g.FillRect(0, 0, kScreenWidth, kScreenHeight);
}

// pixman's copies of the scene, premultiplied as pixman wants.
struct PixmanImage {
    std::vector<uint32_t> bits;
    pixman_image_t* image = nullptr;

    explicit PixmanImage(const MemoryImage& source) {
        const int count = source.GetWidth() * source.GetHeight();
        bits.assign(source.GetBits(), source.GetBits() + count);
        for (uint32_t& pixel : bits) {
            const uint32_t a = pixel >> 24;
            auto premultiply = [a](uint32_t channel) { return (channel * a + 127) / 255; };
            pixel = (a << 24) | (premultiply((pixel >> 16) & 0xFF) << 16) |
                    (premultiply((pixel >> 8) & 0xFF) << 8) | premultiply(pixel & 0xFF);
        }
        image = pixman_image_create_bits(PIXMAN_a8r8g8b8, source.GetWidth(), source.GetHeight(),
                                         bits.data(), source.GetWidth() * 4);
    }
    ~PixmanImage() { pixman_image_unref(image); }
    PixmanImage(const PixmanImage&) = delete;
    PixmanImage& operator=(const PixmanImage&) = delete;
};

struct PixmanScene {
    PixmanImage background, panel, overlay, particle;
    std::vector<std::unique_ptr<PixmanImage>> tiles, glyphs;
    pixman_image_t* tint;
    pixman_image_t* halfAlpha;
    pixman_image_t* black;
    pixman_image_t* halfBlack;

    explicit PixmanScene(const Scene& scene)
        : background(scene.background),
          panel(scene.panel),
          overlay(scene.overlay),
          particle(scene.particle) {
        for (const auto& tile : scene.tiles) {
            tiles.push_back(std::make_unique<PixmanImage>(*tile));
        }
        for (const auto& glyph : scene.glyphs) {
            glyphs.push_back(std::make_unique<PixmanImage>(*glyph));
        }
        pixman_transform_t scale;
        pixman_transform_init_scale(&scale, pixman_double_to_fixed(640.0 / 688.0),
                                    pixman_double_to_fixed(480.0 / 516.0));
        pixman_image_set_transform(background.image, &scale);
        pixman_image_set_filter(background.image, PIXMAN_FILTER_NEAREST, nullptr, 0);
        // The tint multiplies each channel: a component-alpha mask of the tint colour.
        const pixman_color_t tintColor = {0xFFFF, 0xD0D0, 0x4040, 0xFFFF};
        tint = pixman_image_create_solid_fill(&tintColor);
        pixman_image_set_component_alpha(tint, 1);
        const pixman_color_t half = {0x8080, 0x8080, 0x8080, 0x8080};
        halfAlpha = pixman_image_create_solid_fill(&half);
        const pixman_color_t opaqueBlack = {0, 0, 0, 0xFFFF};
        black = pixman_image_create_solid_fill(&opaqueBlack);
        const pixman_color_t translucentBlack = {0, 0, 0, 0x8080};
        halfBlack = pixman_image_create_solid_fill(&translucentBlack);
    }
    ~PixmanScene() {
        pixman_image_unref(tint);
        pixman_image_unref(halfAlpha);
        pixman_image_unref(black);
        pixman_image_unref(halfBlack);
    }
};

// The same operations in the same order as RenderOurs, which draws as the game's board does:
// a full opaque clear first, then the background over most of it. Our back end leaves out what
// later opaque copies cover; pixman is given the same requests and cannot know that, so its
// clear is written whole (a caller could skip it only by knowing the frame ahead).
void RenderPixman(const Scene& scene, PixmanScene& images, pixman_image_t* screen) {
    auto over = [&](pixman_image_t* source, pixman_image_t* mask, int x, int y, int width,
                    int height) {
        pixman_image_composite32(PIXMAN_OP_OVER, source, mask, screen, 0, 0, 0, 0, x, y, width,
                                 height);
    };
    pixman_image_composite32(PIXMAN_OP_SRC, images.black, nullptr, screen, 0, 0, 0, 0, 0, 0,
                             kScreenWidth, kScreenHeight);
    pixman_image_composite32(PIXMAN_OP_SRC, images.background.image, nullptr, screen, 0, 0, 0, 0,
                             128, 6, kScreenWidth - 128, 516);
    for (const Placement& p : scene.lineTiles) {
        over(images.tiles[p.image]->image, nullptr, p.x, p.y, 71, 71);
    }
    for (const Placement& p : scene.cells) {
        over(images.tiles[p.image]->image, nullptr, p.x, p.y, 71, 71);
    }
    pixman_image_composite32(PIXMAN_OP_SRC, images.panel.image, nullptr, screen, 0, 0, 0, 0, 0, 505,
                             800, 90);
    for (const Placement& p : scene.conveyor) {
        over(images.tiles[p.image]->image, nullptr, p.x, p.y, 71, 71);
    }
    over(images.overlay.image, nullptr, 0, 0, kScreenWidth, kScreenHeight);
    for (const Placement& p : scene.glyphQuads) {
        over(images.glyphs[p.image]->image, images.tint, p.x, p.y, 20, 28);
    }
    for (const Placement& p : scene.particles) {
        pixman_image_composite32(PIXMAN_OP_ADD, images.particle.image, images.halfAlpha, screen, 0,
                                 0, 0, 0, p.x, p.y, 48, 48);
    }
    over(images.halfBlack, nullptr, 0, 0, kScreenWidth, kScreenHeight);
}

const Scene& SharedScene() {
    static const Scene scene;
    return scene;
}

void BM_FrameOurs(benchmark::State& state) {
    const Scene& scene = SharedScene();
    MemoryImage screen(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        RenderOurs(scene, screen);
        benchmark::DoNotOptimize(screen.GetBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameOurs)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FramePixman(benchmark::State& state) {
    const Scene& scene = SharedScene();
    PixmanScene images(scene);
    std::vector<uint32_t> bits(kScreenWidth * kScreenHeight);
    pixman_image_t* screen = pixman_image_create_bits(PIXMAN_a8r8g8b8, kScreenWidth, kScreenHeight,
                                                      bits.data(), kScreenWidth * 4);
    for (auto _ : state) {
        RenderPixman(scene, images, screen);
        benchmark::DoNotOptimize(bits.data());
        benchmark::ClobberMemory();
    }
    pixman_image_unref(screen);
}
BENCHMARK(BM_FramePixman)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps the per-iteration times of the two frame benchmarks for the closing ratio. Both the
// wall-clock and the CPU time are given: on a loaded machine the CPU time is the fairer measure.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) {
                continue;
            }
            Times& times = run.benchmark_name().find("Ours") != std::string::npos ? ours_ : pixman_;
            times.real = run.GetAdjustedRealTime();
            times.cpu = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio() const {
        if (ours_.real > 0 && pixman_.real > 0) {
            std::printf(
                "frame (wall clock): ours %.3f ms, pixman %.3f ms, ratio ours/pixman %.2f\n",
                ours_.real, pixman_.real, ours_.real / pixman_.real);
            std::printf(
                "frame (CPU time):   ours %.3f ms, pixman %.3f ms, ratio ours/pixman %.2f\n",
                ours_.cpu, pixman_.cpu, ours_.cpu / pixman_.cpu);
        }
    }

private:
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    Times ours_;
    Times pixman_;
};

// Thread CPU time in milliseconds.
double ThreadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The two renderers frame by frame in turn, so that a machine busy with other work slows both
// alike; the minimum and the median of each are compared.
void ComparePaired(int rounds) {
    const Scene& scene = SharedScene();
    MemoryImage screen(kScreenWidth, kScreenHeight);
    PixmanScene images(scene);
    std::vector<uint32_t> bits(kScreenWidth * kScreenHeight);
    pixman_image_t* pixmanScreen = pixman_image_create_bits(
        PIXMAN_a8r8g8b8, kScreenWidth, kScreenHeight, bits.data(), kScreenWidth * 4);
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < rounds; ++round) {
        double start = ThreadMilliseconds();
        RenderOurs(scene, screen);
        ours.push_back(ThreadMilliseconds() - start);
        start = ThreadMilliseconds();
        RenderPixman(scene, images, pixmanScreen);
        theirs.push_back(ThreadMilliseconds() - start);
    }
    pixman_image_unref(pixmanScreen);
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    const double oursMedian = ours[ours.size() / 2];
    const double theirsMedian = theirs[theirs.size() / 2];
    std::printf(
        "frame (CPU, %d frames each, in turn): ours min %.3f median %.3f ms, pixman min %.3f "
        "median %.3f ms, ratio ours/pixman min %.2f median %.2f\n",
        rounds, ours.front(), oursMedian, theirs.front(), theirsMedian,
        ours.front() / theirs.front(), oursMedian / theirsMedian);
}

}  // namespace

// "--paired=N" sets the number of frames of the paired comparison (0 leaves it out).
int main(int argc, char** argv) {
    int pairedRounds = 1000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--paired=", 9) == 0) {
            pairedRounds = std::atoi(argv[i] + 9);
        }
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio();
    if (pairedRounds > 0) {
        ComparePaired(pairedRounds);
    }
    benchmark::Shutdown();
    return 0;
}
