// The application's dialogs by id: creating them, showing them (sized, placed and, when modal,
// made the base modal widget) and removing them. The application shell owns one and forwards
// its CreateDialog, ShowDialog, OpenDialog and KillDialog operations to it.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "framework/widgets/button_listener.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/widget_manager.h"

namespace Tuvo {

class DialogRegistry {
public:
    // How a removed dialog is deleted; the shell retires it to a safe point of its loop.
    using RetireFunction = std::function<void(Dialog*)>;
    // Told after a modal dialog has opened.
    using ModalOpenedFunction = std::function<void(Dialog*)>;

    // manager and listener are not owned; the application area is width x height.
    DialogRegistry(WidgetManager* manager, DialogListener* listener, int width, int height);
    // Removes and deletes the dialogs still open.
    ~DialogRegistry();
    DialogRegistry(const DialogRegistry&) = delete;
    DialogRegistry& operator=(const DialogRegistry&) = delete;

    void SetRetireFunction(RetireFunction retire) { retire_ = std::move(retire); }
    void SetModalOpenedFunction(ModalOpenedFunction opened) { modalOpened_ = std::move(opened); }
    void SetArea(int width, int height);

    // A new dialog without images, reporting to the listener; not yet shown. The caller owns
    // it until it is opened.
    Dialog* CreateDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                         const std::string& footer, int buttonMode);
    // Removes any dialog of that id, then creates and opens a new one.
    Dialog* ShowDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                       const std::string& footer, int buttonMode);
    // Takes the dialog over under id (removing any other of that id; nothing when it is the
    // one already open under id). A dialog of width 0 gets
    // half the area's width, the height it measures for that width, and a place centred
    // horizontally a fifth of the area's height from the top.
    void OpenDialog(int id, Dialog* dialog);
    // Removes the dialog of that id from the screen (and the modal stack) and retires it;
    // false when there is none.
    bool KillDialog(int id);
    Dialog* GetDialog(int id) const;
    int GetDialogCount() const { return static_cast<int>(dialogs_.size()); }

private:
    WidgetManager* manager_;
    DialogListener* listener_;
    int width_;
    int height_;
    std::map<int, Dialog*> dialogs_;
    RetireFunction retire_;
    ModalOpenedFunction modalOpened_;
};

}  // namespace Tuvo
