// SPDX-License-Identifier: GPL-3.0-or-later
// Runs veltrane-calc as a real process through the shell, for what only a
// process shows: exit statuses, the standard streams, files and limits.
// POSIX only.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace veltrane::cli::test {

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The names in a folder, to see that nothing was left beside a file.
inline std::set<std::string> Names(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const std::filesystem::directory_entry& entry :
         std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A fresh folder for one test, removed with it.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "veltrane-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Runs `sh -c "<prefix> veltrane-calc <args> <suffix>"`; stdout and stderr
// are kept unless suffix redirects them.
inline ProcessResult RunCalc(const std::string& args, const std::string& suffix = "",
                             const std::string& prefix = "") {
    TempFolder streams;
    const std::string out = (streams / "out").string();
    const std::string err = (streams / "err").string();
    const std::string command = "{ " + prefix + " " + VELTRANE_CALC + " " + args + " " + suffix +
                                "; } >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
}

}  // namespace veltrane::cli::test
