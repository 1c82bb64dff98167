// Dialogs by id: open, size, place, make modal, remove.
#include "framework/widgets/dialog_registry.h"

namespace Tuvo {

DialogRegistry::DialogRegistry(WidgetManager* manager, DialogListener* listener, int width,
                               int height)
    : manager_(manager), listener_(listener), width_(width), height_(height) {}

DialogRegistry::~DialogRegistry() {
    // Deleted at once: nothing runs after the owner goes away.
    retire_ = nullptr;
    while (!dialogs_.empty()) {
        KillDialog(dialogs_.begin()->first);
    }
}

void DialogRegistry::SetArea(int width, int height) {
    width_ = width;
    height_ = height;
}

Dialog* DialogRegistry::CreateDialog(int id, bool isModal, const std::string& header,
                                     const std::string& lines, const std::string& footer,
                                     int buttonMode) {
    return new Dialog(nullptr, nullptr, id, isModal, header, lines, footer, buttonMode, listener_);
}

Dialog* DialogRegistry::ShowDialog(int id, bool isModal, const std::string& header,
                                   const std::string& lines, const std::string& footer,
                                   int buttonMode) {
    KillDialog(id);
    Dialog* dialog = CreateDialog(id, isModal, header, lines, footer, buttonMode);
    OpenDialog(id, dialog);
    return dialog;
}

void DialogRegistry::OpenDialog(int id, Dialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    if (GetDialog(id) == dialog) {
        return;  // already open: a second modal record would outlive the dialog
    }
    KillDialog(id);
    if (dialog->Width() == 0) {
        const int width = width_ / 2;
        dialog->Resize((width_ - width) / 2, height_ / 5, width, dialog->MeasureHeight(width));
    }
    dialogs_[id] = dialog;
    if (manager_ == nullptr) {
        return;
    }
    manager_->AddWidget(dialog);
    if (dialog->IsModal()) {
        manager_->PushModal(dialog);
        if (modalOpened_) {
            modalOpened_(dialog);
        }
    }
}

bool DialogRegistry::KillDialog(int id) {
    const auto found = dialogs_.find(id);
    if (found == dialogs_.end()) {
        return false;
    }
    Dialog* dialog = found->second;
    dialogs_.erase(found);
    if (manager_ != nullptr) {
        manager_->PopModal(dialog);
        manager_->RemoveWidget(dialog);
    }
    if (retire_) {
        retire_(dialog);
    } else {
        delete dialog;
    }
    return true;
}

Dialog* DialogRegistry::GetDialog(int id) const {
    const auto found = dialogs_.find(id);
    return found != dialogs_.end() ? found->second : nullptr;
}

}  // namespace Tuvo
