// A widget for tests that records every callback the widget manager makes into a shared log
// ("name event ..."), fills itself in its colour when drawn and runs an optional update hook.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/widgets/widget.h"

namespace Tuvo::Testing {

class ProbeWidget : public Widget {
public:
    ProbeWidget(std::string name, std::vector<std::string>* log, int x = 0, int y = 0,
                int width = 0, int height = 0)
        : name_(std::move(name)), log_(log) {
        Resize(x, y, width, height);
    }

    Color fill{255, 0, 0, 255};
    std::function<void()> onUpdate;
    int draws = 0;
    bool acceptsFocus = false;

    void Update() override {
        Widget::Update();
        Log("update");
        if (onUpdate) {
            onUpdate();
        }
    }
    // The fill reaches 20 pixels beyond the widget on every side, where clipping must stop it.
    void Draw(Graphics* g) override {
        ++draws;
        g->SetColor(fill);
        g->FillRect(-20, -20, Width() + 40, Height() + 40);
    }
    bool AcceptsFocus() override { return acceptsFocus; }
    void GotFocus() override {
        Widget::GotFocus();
        Log("gotfocus");
    }
    void LostFocus() override {
        Widget::LostFocus();
        Log("lostfocus");
    }
    void KeyDown(int key) override {
        Log("keydown " + std::to_string(key));
        Widget::KeyDown(key);
    }
    void KeyUp(int key) override { Log("keyup " + std::to_string(key)); }
    void KeyChar(char c) override { Log("char " + std::to_string(static_cast<int>(c))); }
    void MouseEnter() override { Log("enter"); }
    void MouseLeave() override { Log("leave"); }
    void MouseMove(int x, int y) override { Log("move " + Point(x, y)); }
    void MouseDown(int x, int y, int button, int count) override {
        Log("down " + Point(x, y) + " b" + std::to_string(button) + " c" + std::to_string(count));
    }
    void MouseUp(int x, int y, int button, int count) override {
        Log("up " + Point(x, y) + " b" + std::to_string(button) + " c" + std::to_string(count));
    }
    void MouseDrag(int x, int y) override { Log("drag " + Point(x, y)); }
    void MouseWheel(int delta) override { Log("wheel " + std::to_string(delta)); }

    const std::string& Name() const { return name_; }
    void Log(const std::string& text) {
        if (log_ != nullptr) {
            log_->push_back(name_ + " " + text);
        }
    }

private:
    static std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

    std::string name_;
    std::vector<std::string>* log_;
};

}  // namespace Tuvo::Testing
