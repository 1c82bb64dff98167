// Message boxes through SDL, the lock file through flock, shortcuts through xdg-open.
#include "platform/system.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/atomic_file.h"
#include "platform/ini_document.h"
#include "platform/paths.h"

namespace Platform {
bool HasDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr) {
        return SDL_strcmp(driver, "dummy") != 0 && SDL_strcmp(driver, "offscreen") != 0;
    }
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    if (wanted != nullptr &&
        (SDL_strcmp(wanted, "dummy") == 0 || SDL_strcmp(wanted, "offscreen") == 0)) {
        return false;
    }
    return SDL_getenv("DISPLAY") != nullptr || SDL_getenv("WAYLAND_DISPLAY") != nullptr;
}

bool OpenedWithoutDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr ||
        (SDL_strcmp(driver, "dummy") != 0 && SDL_strcmp(driver, "offscreen") != 0)) {
        return false;
    }
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    return wanted == nullptr || SDL_strstr(wanted, driver) == nullptr;
}

bool ShowMessageBox(const std::string& caption, const std::string& text, MessageBoxKind kind,
                    bool defaultAnswer) {
    if (HasDisplay()) {
        SDL_MessageBoxButtonData yesNo[2] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
        };
        SDL_MessageBoxButtonData ok[1] = {{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"}};
        const bool question = kind == MessageBoxKind::kYesNoQuestion;
        SDL_MessageBoxData data{};
        data.flags =
            kind == MessageBoxKind::kError ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        data.title = caption.c_str();
        data.message = text.c_str();
        data.numbuttons = question ? 2 : 1;
        data.buttons = question ? yesNo : ok;
        int pressed = -1;
        if (SDL_ShowMessageBox(&data, &pressed) == 0) {
            return question ? pressed == 1 : true;
        }
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return kind == MessageBoxKind::kYesNoQuestion ? defaultAnswer : true;
}

SingleInstanceLock::~SingleInstanceLock() {
    Release();
}

LockResult SingleInstanceLock::Acquire(const std::string& lockFilePath, std::string* error) {
    if (fd_ >= 0) {
        return LockResult::kAcquired;
    }
    // Non-blocking and no links followed: the lock file is ours, a plain file in the user folder.
    const int fd =
        open(lockFilePath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0644);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        // Without a lock two copies could share one user folder and overwrite each other's files.
        if (error != nullptr) {
            *error = lockFilePath + ": " + std::strerror(fd < 0 ? errno : EINVAL);
        }
        if (fd >= 0) {
            close(fd);
        }
        return LockResult::kFailed;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        close(fd);
        if (reason == EWOULDBLOCK) {
            return LockResult::kTaken;
        }
        if (error != nullptr) {
            *error = lockFilePath + ": " + std::strerror(reason);
        }
        return LockResult::kFailed;
    }
    fd_ = fd;
    return LockResult::kAcquired;
}

void SingleInstanceLock::Release() {
    if (fd_ >= 0) {
        flock(fd_, LOCK_UN);
        close(fd_);
        fd_ = -1;
    }
}

namespace {

volatile std::sig_atomic_t gQuitSignal = 0;

void OnQuitSignal(int) {
    gQuitSignal = 1;
}

}  // namespace

void InstallQuitSignalHandlers() {
    // SDL would install its own SIGINT and SIGTERM handlers; ours cover every quitting signal.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        sigaction(signal, &action, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

bool QuitSignalReceived() {
    return gQuitSignal != 0;
}

void ClearQuitSignal() {
    gQuitSignal = 0;
}

std::string ReadShortcutUrl(const std::string& shortcutPath) {
    std::string text;
    if (!ReadWholeFile(ResolvePath(shortcutPath), text)) {
        return "";
    }
    return IniDocument(text).GetValue("InternetShortcut", "URL").value_or("");
}

bool OpenUrlFile(const std::string& shortcutPath) {
    if (!FileExists(shortcutPath)) {
        return false;
    }
    const std::string url = ReadShortcutUrl(shortcutPath);
    if (url.empty()) {
        return false;
    }
    const pid_t child = fork();
    if (child == 0) {
        // A grandchild runs the handler so that nothing waits for the browser.
        if (fork() == 0) {
            execlp("xdg-open", "xdg-open", url.c_str(), static_cast<char*>(nullptr));
        }
        _exit(0);
    }
    if (child > 0) {
        waitpid(child, nullptr, 0);
    }
    return child > 0;
}

void SetCurrentThreadAboveNormal(bool above) {
    const pid_t thread = static_cast<pid_t>(syscall(SYS_gettid));
    // Raising needs privileges that a desktop user rarely has; failure is harmless.
    setpriority(PRIO_PROCESS, static_cast<id_t>(thread), above ? -1 : 0);
}

}  // namespace Platform
