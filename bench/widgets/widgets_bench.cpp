// Speed of the widget layer's frame work: drawing a line of system-font text, redrawing a
// screen with a dialog, and one update frame of a tree of many widgets.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "framework/graphics/memory_image.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/sys_font.h"
#include "framework/widgets/widget_manager.h"

namespace {

void BM_SysFontDrawLine(benchmark::State& state) {
    Tuvo::SysFont font("Arial Unicode MS", 12);
    Tuvo::MemoryImage image(800, 40);
    Tuvo::Graphics g(&image);
    g.SetFont(&font);
    g.SetColor(Tuvo::Color(255, 255, 0));
    const std::string text = "Would you like to switch 3-D acceleration on?";
    for (auto _ : state) {
        g.DrawString(text, 10, 25);
        benchmark::DoNotOptimize(image.GetBits());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SysFontDrawLine);

void BM_DrawScreenWithDialog(benchmark::State& state) {
    Tuvo::WidgetManager manager(nullptr);
    manager.Resize(Tuvo::Rect(0, 0, 800, 600));
    Tuvo::MemoryImage screen(800, 600);
    manager.SetScreenImage(&screen);
    Tuvo::Widget board;
    board.Resize(0, 0, 800, 600);
    manager.AddWidget(&board);
    Tuvo::Dialog dialog(nullptr, nullptr, 1, true, "Question",
                        "A dialog body of a few words that wraps over two or three lines.", "",
                        Tuvo::Dialog::kModeYesNo);
    dialog.Resize(200, 120, 400, dialog.MeasureHeight(400));
    manager.AddWidget(&dialog);
    manager.PushModal(&dialog);
    for (auto _ : state) {
        board.MarkDirty();
        benchmark::DoNotOptimize(manager.DrawScreen());
    }
}
BENCHMARK(BM_DrawScreenWithDialog);

void BM_UpdateFrameManyWidgets(benchmark::State& state) {
    Tuvo::WidgetManager manager(nullptr);
    manager.Resize(Tuvo::Rect(0, 0, 800, 600));
    std::vector<std::unique_ptr<Tuvo::Widget>> widgets;
    for (int i = 0; i < state.range(0); ++i) {
        widgets.push_back(std::make_unique<Tuvo::Widget>());
        widgets.back()->Resize((i * 37) % 760, (i * 53) % 560, 40, 40);
        manager.AddWidget(widgets.back().get());
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(manager.UpdateFrame());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UpdateFrameManyWidgets)->Arg(10)->Arg(200);

}  // namespace
