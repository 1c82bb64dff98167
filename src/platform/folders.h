// The two folders of the game: the read-only data folder (art, menus, levels, texts, "main.pak")
// and the writable user folder (options, saved games, scores, settings store, log, sound cache).
#pragma once

#include <string>

namespace Platform {

// The folder holding the running executable (no trailing slash).
std::string ProgramFolder();

// The user folder: the override when one was set, else $QUILLORY_USERDIR, else
// $XDG_DATA_HOME/Quillory, else ~/.local/share/Quillory. No trailing slash.
std::string UserFolder();

// Points the user folder elsewhere ("-userdir"); an empty text removes the override.
void SetUserFolderOverride(const std::string& folder);

// Creates the user folder (and its parents) when missing; false when that fails.
bool EnsureUserFolder();

// The path of a file in the user folder; creates the folder on first use.
std::string UserFilePath(const std::string& fileName);

// The data folder: the "-changedir" folder when given, else the program's folder when it holds
// the data, else <program folder>/../share/quillory, else the program's folder.
std::string FindDataFolder(const std::string& changeDirOption);

// Whether `folder` can serve as the data folder: it exists, is a folder, and holds the game's
// archive or its menus. Otherwise `problem` says what is wrong, for the player to read.
bool CheckDataFolder(const std::string& folder, std::string& problem);

// Changes the process's current directory; false when that fails.
bool ChangeCurrentDirectory(const std::string& folder);
std::string CurrentDirectory();

}  // namespace Platform
