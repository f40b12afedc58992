#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvane::platform::sim::testing {

// A machine image in a fresh temporary folder, removed afterwards, and the
// kelvane-sim commands run on it in-process.
class TestImage {
 public:
  // options: more of init's, such as "--x64".
  explicit TestImage(bool demo = true, const std::filesystem::path& under = std::filesystem::temp_directory_path(),
                     const std::vector<std::string>& options = {});
  // Memory-backed scratch space where the host has it (/dev/shm): for images
  // of 100,000 items, whose cost on a disk is the disk's.
  static std::filesystem::path MemoryScratch();
  ~TestImage();
  TestImage(const TestImage&) = delete;
  TestImage& operator=(const TestImage&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A host path on drive C: for a Windows path.
  std::filesystem::path Host(const std::string& windowsPath) const;
  bool Exists(const std::string& windowsPath) const;
  // A file on drive C:, with the folders above it; read-only is the owner's
  // write bit off, as the drive reads it.
  void MakeFile(const std::string& windowsPath, const std::string& content = "x", bool readOnly = false) const;

  // Runs kelvane-sim with these arguments, IMAGE standing for the image.
  int Run(std::vector<std::string> arguments);
  const std::string& out() const { return out_; }
  const std::string& err() const { return err_; }

  void WriteFaults(const std::string& text) const;
  void WriteImageFile(const std::string& name, const std::string& bytes) const;
  std::string ReadImageFile(const std::string& name) const;
  std::vector<std::string> Events() const;
  // The events whose line begins with the prefix.
  std::vector<std::string> Events(const std::string& prefix) const;
  void ClearEvents() const;
  std::vector<std::string> Traces();
  bool HasKey(const std::string& fullName) const;

 private:
  std::filesystem::path root_;
  std::filesystem::path path_;
  std::string out_;
  std::string err_;
};

}  // namespace kelvane::platform::sim::testing
