// Installs the build into a temporary prefix the way a player does (cmake --install), then checks
// that every file lands where Linux desktops look for it, that the desktop entry and metainfo pass
// their validators, that main.pak holds exactly the game's data, that the installed game started
// from another folder runs from its installed data alone and writes nothing outside its user
// folder, and that uninstalling takes everything away again.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/archive/pak_format.h"
#include "framework/archive/pak_interface.h"
#include "imagefiles/readers.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using TestSupport::ProgramRun;
using TestSupport::ReadWholeFile;
using TestSupport::RunProgram;
using TestSupport::TempFolder;

const std::string kAppId = "io.github.quillory.Quillory";
const int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

// What a write would change about each file, link and folder under `folder` (folders marked
// "d"), by name relative to it.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> state;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        struct stat info;
        if (lstat(it->path().c_str(), &info) == 0) {
            state[fs::relative(it->path(), folder).string()] =
                std::string(S_ISDIR(info.st_mode) ? "d " : "") + std::to_string(info.st_mode) +
                " " + std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) +
                "." + std::to_string(info.st_mtim.tv_nsec);
        }
    }
    return state;
}

// Every regular file and link under `folder`, relative to it, sorted.
std::vector<std::string> FilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& [name, state] : Snapshot(folder)) {
        if (state[0] != 'd') {
            files.push_back(name);
        }
    }
    return files;
}

// CMake wraps its error messages: the text as one line with single spaces.
std::string OneLine(const std::string& text) {
    std::istringstream words(text);
    std::string line;
    for (std::string word; words >> word;) {
        line += (line.empty() ? "" : " ") + word;
    }
    return line;
}

// Whether a file of data/ is one the game reads (not a generator source, note or hidden file).
bool IsGameFile(const fs::path& relative) {
    for (const fs::path& part : relative) {
        if (part.string().front() == '.' || part == "__pycache__") {
            return false;
        }
    }
    static const std::set<std::string> kSources = {".py", ".pyc", ".sh", ".svg", ".md"};
    return kSources.count(relative.extension().string()) == 0;
}

// The files of an archive, name to contents; empty when it cannot be read.
std::map<std::string, std::string> PackedFiles(const std::string& path) {
    const std::string pak = ReadWholeFile(path);
    const auto* bytes = reinterpret_cast<const uint8_t*>(pak.data());
    std::vector<Tuvo::PakDirectoryEntry> entries;
    std::map<std::string, std::string> packed;
    EXPECT_EQ(Tuvo::ParsePakDirectory(bytes, pak.size(), entries), Tuvo::PakParseResult::kOk);
    for (const Tuvo::PakDirectoryEntry& entry : entries) {
        std::string contents(entry.size, '\0');
        for (uint32_t i = 0; i < entry.size; ++i) {
            contents[i] = static_cast<char>(bytes[entry.dataOffset + i] ^ Tuvo::kPakScramble);
        }
        EXPECT_TRUE(packed.emplace(entry.name, std::move(contents)).second) << entry.name;
    }
    return packed;
}

// One install into a prefix with a space in it (the desktop entry has to quote the program's
// path), checked, run and uninstalled.
TEST(InstallTest, InstallsWhereDesktopsLookRunsFromAnyFolderAndUninstallsCleanly) {
    TempFolder root;
    const std::string prefix = root.Path() + "/installed game";
    ASSERT_EQ(RunProgram({.program = QUILLORY_CMAKE,
                          .arguments = {"--install", QUILLORY_BINARY_DIR, "--prefix", prefix},
                          .unsetEnvironment = {"DESTDIR"},
                          .errorFile = root.File("install.txt")}),
              0)
        << root.Read("install.txt");
    const auto installed = [&](const std::string& relative) { return prefix + "/" + relative; };

    // Each file where desktops look for it, and nothing else; every icon size a PNG of its size,
    // decoded as the game decodes it.
    std::vector<std::string> expected = {
        "bin/quillory",
        "share/applications/" + kAppId + ".desktop",
        "share/icons/hicolor/scalable/apps/" + kAppId + ".svg",
        "share/metainfo/" + kAppId + ".metainfo.xml",
        "share/quillory/main.pak",
    };
    for (int size : kIconSizes) {
        const std::string side = std::to_string(size);
        const std::string icon =
            "share/icons/hicolor/" + side + "x" + side + "/apps/" + kAppId + ".png";
        expected.push_back(icon);
        const std::string png = ReadWholeFile(installed(icon));
        const auto image =
            ImageLib::DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size());
        ASSERT_NE(image, nullptr) << icon;
        EXPECT_EQ(std::pair(image->width, image->height), std::pair(size, size)) << icon;
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesUnder(prefix), expected);
    EXPECT_EQ(access(installed("bin/quillory").c_str(), X_OK), 0);
    EXPECT_NE(ReadWholeFile(installed("share/icons/hicolor/scalable/apps/" + kAppId + ".svg"))
                  .find("viewBox=\"0 0 512 512\""),
              std::string::npos);

    // The menu entry starts the installed program by its full path, quoted for the space; the
    // entry and the metainfo pass their validators without a warning.
    const std::string desktopFile = installed("share/applications/" + kAppId + ".desktop");
    const std::string metainfoFile = installed("share/metainfo/" + kAppId + ".metainfo.xml");
    const std::string entry = ReadWholeFile(desktopFile);
    EXPECT_NE(entry.find("\nExec=\"" + prefix + "/bin/quillory\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=" + kAppId + "\n"), std::string::npos) << entry;
    const std::string metainfo = ReadWholeFile(metainfoFile);
    EXPECT_NE(metainfo.find("<id>" + kAppId + "</id>"), std::string::npos);
    EXPECT_NE(metainfo.find(">" + kAppId + ".desktop</launchable>"), std::string::npos);
    EXPECT_STRNE(QUILLORY_DESKTOP_FILE_VALIDATE, "")
        << "desktop-file-validate is missing (Debian desktop-file-utils): scripts/install-deps.sh";
    EXPECT_STRNE(QUILLORY_APPSTREAMCLI, "")
        << "appstreamcli is missing (Debian appstream): scripts/install-deps.sh";
    ProgramRun validate{.program = QUILLORY_DESKTOP_FILE_VALIDATE,
                        .arguments = {desktopFile},
                        .errorFile = root.File("validate.txt")};
    EXPECT_EQ(RunProgram(validate), 0) << ReadWholeFile(validate.errorFile);
    EXPECT_EQ(ReadWholeFile(validate.errorFile), "");
    validate.program = QUILLORY_APPSTREAMCLI;
    validate.arguments = {"validate", "--no-net", "--no-color", metainfoFile};
    EXPECT_EQ(RunProgram(validate), 0) << ReadWholeFile(validate.errorFile);

    // main.pak holds every game file of data/, under its name with backslashes and with the
    // same bytes, and nothing else: a stale archive fails here.
    const std::map<std::string, std::string> packed =
        PackedFiles(installed("share/quillory/main.pak"));
    size_t gameFiles = 0;
    for (const fs::directory_entry& file : fs::recursive_directory_iterator(QUILLORY_DATA_DIR)) {
        const fs::path relative = fs::relative(file.path(), QUILLORY_DATA_DIR);
        if (file.is_directory() || !IsGameFile(relative)) {
            continue;
        }
        ++gameFiles;
        std::string name = relative.generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        const auto found = packed.find(name);
        ASSERT_NE(found, packed.end()) << name << " is not in main.pak";
        EXPECT_TRUE(found->second == ReadWholeFile(file.path().string())) << name;
    }
    EXPECT_EQ(packed.size(), gameFiles);

    // Started from another folder, the game runs on the archive alone (the data folder holds
    // nothing else) and writes only its user folder.
    TempFolder run;
    fs::create_directories(run.File("elsewhere"));
    fs::create_directories(run.File("home"));
    const std::string user = run.File("user");
    const std::string errors = run.File("stderr.txt");
    const std::map<std::string, std::string> before = Snapshot(prefix);

    const pid_t process = TestSupport::StartProgram(
        {.program = installed("bin/quillory"),
         .environment = {{"SDL_VIDEODRIVER", "dummy"},
                         {"SDL_AUDIODRIVER", "dummy"},
                         {"QUILLORY_DEBUG", "1"},
                         {"QUILLORY_USERDIR", user},
                         {"HOME", run.File("home")}},
         .unsetEnvironment = {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"},
         .folder = run.File("elsewhere"),
         .errorFile = errors});
    ASSERT_GT(process, 0);
    const bool reachedMenu = TestSupport::WaitForText(errors, "Main menu reached", 120);
    kill(process, SIGTERM);
    const int exitCode = TestSupport::WaitForExit(process);

    const std::string log = ReadWholeFile(user + "/applog.htm");
    EXPECT_TRUE(reachedMenu) << ReadWholeFile(errors).substr(0, 2000);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(log.find("FAILED"), std::string::npos)
        << "the installed game did not find its data: " << log.substr(log.find("FAILED"), 300);
    EXPECT_NE(log.find("*** Session finished ***"), std::string::npos);
    for (const char* file : {"applog.htm", "config.ini", "registry.ini"}) {
        EXPECT_TRUE(fs::is_regular_file(user + "/" + file)) << file;
    }

    // Nothing written into the installed tree, the starting folder or the home folder.
    EXPECT_EQ(Snapshot(prefix), before);
    EXPECT_EQ(FilesUnder(run.File("elsewhere")), std::vector<std::string>{});
    EXPECT_EQ(FilesUnder(run.File("home")), std::vector<std::string>{});

    // Uninstalling takes away every installed file, and only those.
    root.Write("installed game/bin/someone-elses-program", "#!/bin/sh\n");

    ProgramRun uninstall{.program = QUILLORY_CMAKE,
                         .arguments = {"-DMANIFEST=" QUILLORY_BINARY_DIR "/install_manifest.txt",
                                       "-P", QUILLORY_UNINSTALL_SCRIPT},
                         .errorFile = root.File("uninstall.txt")};
    ASSERT_EQ(RunProgram(uninstall), 0) << ReadWholeFile(uninstall.errorFile);
    EXPECT_EQ(FilesUnder(prefix), std::vector<std::string>{"bin/someone-elses-program"});
    EXPECT_FALSE(fs::exists(prefix + "/share/quillory"));

    // A second run finds everything gone and still succeeds; with no manifest it refuses.
    EXPECT_EQ(RunProgram(uninstall), 0) << ReadWholeFile(uninstall.errorFile);
    uninstall.arguments[0] = "-DMANIFEST=" + root.File("missing.txt");
    EXPECT_NE(RunProgram(uninstall), 0);
    EXPECT_NE(OneLine(ReadWholeFile(uninstall.errorFile)).find("Nothing to uninstall"),
              std::string::npos);
}

TEST(InstallTest, PackingLeavesOutGeneratorSourcesAndRefusesWhatIsNotAFile) {
    TempFolder work;
    for (const std::string name : {"classes.xml", "Graphics/title.png", "Graphics/title.svg",
                                   "make.py", "README.md", ".hidden", "__pycache__/make.pyc"}) {
        work.Write("data/" + name, name);
    }
    const ProgramRun pack{
        .program = QUILLORY_CMAKE,
        .arguments = {"-DPAK_TOOL=" QUILLORY_PAK_TOOL, "-DDATA_DIR=" + work.File("data"),
                      "-DSTAGE_DIR=" + work.File("stage"), "-DOUTPUT=" + work.File("main.pak"),
                      "-P", QUILLORY_PACK_SCRIPT},
        .errorFile = work.File("pack.txt")};
    ASSERT_EQ(RunProgram(pack), 0) << ReadWholeFile(pack.errorFile);

    EXPECT_EQ(PackedFiles(work.File("main.pak")),
              (std::map<std::string, std::string>{{"Graphics\\title.png", "Graphics/title.png"},
                                                  {"classes.xml", "classes.xml"}}));

    // A link in the data folder is refused, and no archive is left behind.
    ASSERT_EQ(symlink("/etc/passwd", work.File("data/Graphics/linked.png").c_str()), 0);
    fs::remove(work.File("main.pak"));
    EXPECT_NE(RunProgram(pack), 0);
    EXPECT_NE(OneLine(ReadWholeFile(pack.errorFile)).find("linked.png' is not a regular file"),
              std::string::npos)
        << ReadWholeFile(pack.errorFile);
    EXPECT_FALSE(fs::exists(work.File("main.pak")));
}

}  // namespace
