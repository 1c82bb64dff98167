// A font for tests with fixed metrics (every character 6 pixels wide, ascent 10, height 14)
// that records what it is asked to draw, and where, instead of drawing it.
#pragma once

#include <string>
#include <vector>

#include "framework/graphics/font.h"
#include "framework/graphics/graphics.h"

namespace Tuvo::Testing {

class FixedFont : public Font {
public:
    explicit FixedFont(std::vector<std::string>* log = nullptr) : log_(log) {
        ascent_ = 10;
        height_ = 14;
    }

    int StringWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect&) override {
        if (log_ != nullptr) {
            log_->push_back(text + " @" + std::to_string(x + static_cast<int>(g->GetTranslateX())) +
                            "," + std::to_string(y + static_cast<int>(g->GetTranslateY())) + " #" +
                            std::to_string(color.red) + "," + std::to_string(color.green) + "," +
                            std::to_string(color.blue));
        }
    }
    Font* Duplicate() override { return new FixedFont(*this); }

private:
    std::vector<std::string>* log_;
};

}  // namespace Tuvo::Testing
