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

// True when the video system fell back to an invisible driver that nobody asked for (no
// display reachable and $SDL_VIDEODRIVER not naming "dummy" or "offscreen").
bool OpenedWithoutDisplay();

enum class LockResult {
    kAcquired,  // this object holds the lock
    kTaken,     // another copy holds it
    kFailed,    // the lock file cannot be opened or locked: the folder is not safe to share
};

// An advisory lock on a file in the user folder, held while the object lives. A second copy of
// the game finds it taken.
class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock; a lock already held is kept as it is (never released and taken again, which
    // would let another copy in between). `error` says why on kFailed.
    LockResult Acquire(const std::string& lockFilePath, std::string* error = nullptr);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Makes SIGINT, SIGTERM, SIGHUP and SIGQUIT ask the game to quit (as closing the window does)
// and ignores SIGPIPE. Call once, before SDL starts, on the main thread.
void InstallQuitSignalHandlers();
// True once one of those signals has arrived.
bool QuitSignalReceived();
// Forgets a received signal (tests).
void ClearQuitSignal();

// The URL of an internet shortcut file ("[InternetShortcut]" / "URL="), or empty.
std::string ReadShortcutUrl(const std::string& shortcutPath);

// Opens the shortcut's URL with the desktop's handler (xdg-open). False, doing nothing, when the
// file does not exist or holds no URL.
bool OpenUrlFile(const std::string& shortcutPath);

// Raises or restores the calling thread's scheduling priority (best effort).
void SetCurrentThreadAboveNormal(bool above);

}  // namespace Platform
