// System services the shell needs besides the window: message boxes, the single-instance lock,
// opening internet shortcuts, and thread priorities.
#pragma once

#include <string>

namespace Platform {

enum class MessageBoxKind { kInformation, kError, kYesNoQuestion };

// Shows a message box; with no display the text goes to stderr. For a question, returns true
// for Yes; with no display the question takes `defaultAnswer`.
bool ShowMessageBox(const std::string& caption, const std::string& text, MessageBoxKind kind,
                    bool defaultAnswer = true);

// Whether a real display is there (not SDL's dummy or offscreen driver, and a desktop session).
bool HasDisplay();

// An advisory lock on a file in the user folder, held while the object lives. A second copy of
// the game finds it taken.
class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this process now holds the lock; false when another one does.
    bool Acquire(const std::string& lockFilePath);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// The URL of an internet shortcut file ("[InternetShortcut]" / "URL="), or empty.
std::string ReadShortcutUrl(const std::string& shortcutPath);

// Opens the shortcut's URL with the desktop's handler (xdg-open). False, doing nothing, when the
// file does not exist or holds no URL.
bool OpenUrlFile(const std::string& shortcutPath);

// Raises or restores the calling thread's scheduling priority (best effort).
void SetCurrentThreadAboveNormal(bool above);

}  // namespace Platform
