#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TestFolder {
public:
    explicit TestFolder(const std::string& prefix = "kestrava-platform");
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // Makes a folder below this one (parents too) and returns its path.
    std::filesystem::path MakeFolder(const std::string& relative) const;
    // Writes a file and returns its path.
    std::filesystem::path WriteFile(const std::string& relative, const std::string& content) const;
    // Copies the tests' helper program, executable, to `relative`.
    std::filesystem::path CopyHelper(const std::string& relative) const;

private:
    std::filesystem::path path_;
};

// The helper program the build made for these tests.
std::filesystem::path FakeEncoderPath();

// A name no other program on the machine has, for looking processes up by name.
std::string UniqueProgramName(const std::string& stem);
