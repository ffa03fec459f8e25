// A Program over the headless backend and a recording platform, in a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "forms/HeadlessBackend.h"
#include "forms/UserInput.h"
#include "platform/RecordingPlatform.h"
#include "ruler/Ruler.h"

namespace tavrolin::testing {

class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("tavrolin-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string str() const { return path_.string(); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void Spit(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.programFolder = folder.str();
        platform.userConfigFolder = folder.File("user-config");
        backend.screen().TwipsPerPixelX = 15;
        backend.screen().TwipsPerPixelY = 15;
    }

    Program& Start(const std::string& commandLine = "") {
        program = std::make_unique<Program>(backend, platform, commandLine);
        program->Start();
        return *program;
    }

    // A second program instance over the same folder and platform, as a second process is.
    std::unique_ptr<Program> StartAnother(HeadlessBackend& otherBackend,
                                          const std::string& commandLine = "") {
        otherBackend.screen() = backend.screen();
        auto other = std::make_unique<Program>(otherBackend, platform, commandLine);
        other->Start();
        return other;
    }

    MainWindow& Main() { return program->mainWindow(); }
    Ruler& TheRuler() { return program->ruler(); }
    GeneralCode& G() { return program->g(); }

    // The value field of the configuration line whose key is `key`.
    std::string ConfigValue(const std::string& file, const std::string& key) {
        std::istringstream in(Slurp(folder.File(file)));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.size() > 14 && line.substr(14) == key) {
                std::string v = line.substr(0, 14);
                v.erase(v.find_last_not_of(' ') + 1);
                v.erase(0, v.find_first_not_of(' '));
                return v;
            }
        }
        return "<missing " + key + ">";
    }

    TempFolder folder;
    HeadlessBackend backend;
    RecordingPlatform platform;
    std::unique_ptr<Program> program;
};

}  // namespace tavrolin::testing
