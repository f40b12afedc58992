#include "platform/shared/failure_naming.h"

namespace kelvane::platform {

namespace {


// An object that could not be had stays missing: the caller's Require
// fails on it as before.
template <class Naming, class Object, class... Rest>
std::unique_ptr<Naming> Wrapped(std::unique_ptr<Object> object, Rest&&... rest) {
  if (!object) return nullptr;
  return std::make_unique<Naming>(std::move(object), std::forward<Rest>(rest)...);
}


// A key's name as the log shows it: the root's name, then the path.
std::string KeyName(std::uint32_t root, const std::string& path) { return std::string(RootName(root)) + "\\" + path; }

class NamingProcess final : public Process {
 public:
  NamingProcess(std::unique_ptr<Process> process, std::string command)
      : process_(std::move(process)), command_(std::move(command)) {}
  bool WaitForExit(unsigned timeoutMilliseconds) override {
    return NamingFailures(Operation::WaitForExit, command_, [&] { return process_->WaitForExit(timeoutMilliseconds); });
  }

 private:
  std::unique_ptr<Process> process_;
  std::string command_;
};

class NamingShortcut final : public Shortcut {
 public:
  NamingShortcut(std::unique_ptr<Shortcut> shortcut, std::string path)
      : shortcut_(std::move(shortcut)), path_(std::move(path)) {}
  void SetTargetPath(const std::string& targetPath) override {
    NamingFailures(Operation::SetTargetPath, targetPath, [&] { shortcut_->SetTargetPath(targetPath); });
  }
  void SetWindowStyle(std::int16_t windowStyle) override {
    NamingFailures(Operation::SetWindowStyle, std::to_string(windowStyle), [&] { shortcut_->SetWindowStyle(windowStyle); });
  }
  void Save() override {
    NamingFailures(Operation::Save, path_, [&] { shortcut_->Save(); });
  }

 private:
  std::unique_ptr<Shortcut> shortcut_;
  std::string path_;
};

class NamingShell final : public Shell {
 public:
  explicit NamingShell(std::unique_ptr<Shell> shell) : shell_(std::move(shell)) {}
  std::string ExpandEnvironmentStrings(const std::string& text) override {
    return NamingFailures(Operation::ExpandEnvironmentStrings, text, [&] { return shell_->ExpandEnvironmentStrings(text); });
  }
  std::unique_ptr<Process> run(const std::string& command) override {
    return Wrapped<NamingProcess>(NamingFailures(Operation::run, command, [&] { return shell_->run(command); }), command);
  }
  void run(const std::string& address, std::int16_t windowStyle) override {
    NamingFailures(Operation::run, address, [&] { shell_->run(address, windowStyle); });
  }
  std::unique_ptr<Shortcut> CreateShortcut(const std::string& linkPath) override {
    return Wrapped<NamingShortcut>(
        NamingFailures(Operation::CreateShortcut, linkPath, [&] { return shell_->CreateShortcut(linkPath); }), linkPath);
  }

 private:
  std::unique_ptr<Shell> shell_;
};

// Where a file or folder was reached: the path it was asked for by, or its
// folder's path and its own name, read only when a failure must say it.
template <class Item>
class Place {
 public:
  explicit Place(std::string path) : path_(std::move(path)), known_(true) {}
  Place(std::string folder, Item* item) : path_(std::move(folder)), item_(item) {}
  std::string operator()() const {
    if (known_) return path_;
    try {
      return path_ + "\\" + item_->Name();
    } catch (const Error&) {
      return path_ + "\\?";
    }
  }

 private:
  std::string path_;
  Item* item_ = nullptr;
  bool known_ = false;
};

class NamingFile final : public File {
 public:
  NamingFile(std::unique_ptr<File> file, std::string path) : file_(std::move(file)), place_(std::move(path)) {}
  NamingFile(std::unique_ptr<File> file, std::string folder, int)
      : file_(std::move(file)), place_(std::move(folder), file_.get()) {}
  std::string Name() override {
    return NamingFailures(Operation::Name, place_, [&] { return file_->Name(); });
  }
  void Delete(bool force) override {
    NamingFailures(Operation::Delete, place_, [&] { file_->Delete(force); });
  }

 private:
  std::unique_ptr<File> file_;
  Place<File> place_;
};

class NamingFolder final : public Folder {
 public:
  NamingFolder(std::unique_ptr<Folder> folder, std::string path) : folder_(std::move(folder)), place_(std::move(path)) {}
  NamingFolder(std::unique_ptr<Folder> folder, std::string parent, int)
      : folder_(std::move(folder)), place_(std::move(parent), folder_.get()) {}
  std::string Name() override {
    return NamingFailures(Operation::Name, place_, [&] { return folder_->Name(); });
  }
  std::string Path() override {
    return NamingFailures(Operation::Path, place_, [&] { return folder_->Path(); });
  }
  std::vector<std::unique_ptr<Folder>> SubFolders() override {
    return Children<Folder, NamingFolder>(Operation::SubFolders, [&] { return folder_->SubFolders(); });
  }
  std::vector<std::unique_ptr<File>> Files() override {
    return Children<File, NamingFile>(Operation::Files, [&] { return folder_->Files(); });
  }
  void Delete(bool force) override {
    NamingFailures(Operation::Delete, place_, [&] { folder_->Delete(force); });
  }

 private:
  template <class Item, class Naming, class List>
  std::vector<std::unique_ptr<Item>> Children(Operation operation, List&& list) {
    auto items = NamingFailures(operation, place_, std::forward<List>(list));
    std::vector<std::unique_ptr<Item>> named;
    for (auto& item : items) named.push_back(std::make_unique<Naming>(std::move(item), place_(), 0));
    return named;
  }

  std::unique_ptr<Folder> folder_;
  Place<Folder> place_;
};

class NamingTextStream final : public TextStream {
 public:
  NamingTextStream(std::unique_ptr<TextStream> stream, std::string path)
      : stream_(std::move(stream)), path_(std::move(path)) {}
  void WriteLine(const std::string& text) override {
    NamingFailures(Operation::WriteLine, path_, [&] { stream_->WriteLine(text); });
  }
  void Close() override {
    NamingFailures(Operation::Close, path_, [&] { stream_->Close(); });
  }
  std::string ReadAll() override {
    return NamingFailures(Operation::OpenTextFile, path_, [&] { return stream_->ReadAll(); });
  }

 private:
  std::unique_ptr<TextStream> stream_;
  std::string path_;
};

class NamingFileSystem final : public FileSystem {
 public:
  explicit NamingFileSystem(std::unique_ptr<FileSystem> fso) : fso_(std::move(fso)) {}
  bool FileExists(const std::string& path) override {
    return NamingFailures(Operation::FileExists, path, [&] { return fso_->FileExists(path); });
  }
  std::unique_ptr<Folder> GetFolder(const std::string& path) override {
    return NamedFolder(Operation::GetFolder, path, [&] { return fso_->GetFolder(path); });
  }
  std::unique_ptr<File> GetFile(const std::string& path) override {
    return Wrapped<NamingFile>(NamingFailures(Operation::GetFile, path, [&] { return fso_->GetFile(path); }), path);
  }
  std::unique_ptr<platform::Folder> GetFolderToEmpty(const std::string& path) override {
    return NamedFolder(Operation::GetFolderToEmpty, path, [&] { return fso_->GetFolderToEmpty(path); });
  }
  void DeleteFile(const std::string& path) override {
    NamingFailures(Operation::DeleteFile, path, [&] { fso_->DeleteFile(path); });
  }
  std::unique_ptr<TextStream> OpenTextFile(const std::string& path, std::int16_t ioMode, bool create) override {
    return Wrapped<NamingTextStream>(
        NamingFailures(Operation::OpenTextFile, path, [&] { return fso_->OpenTextFile(path, ioMode, create); }), path);
  }
  void CreateFolder(const std::string& path) override {
    NamingFailures(Operation::CreateFolder, path, [&] { fso_->CreateFolder(path); });
  }
  void CopyFile(const std::string& source, const std::string& destination) override {
    NamingFailures(Operation::CopyFile, destination, [&] { fso_->CopyFile(source, destination); });
  }
  void DeleteAtRestart(const std::string& path) override {
    NamingFailures(Operation::DeleteAtRestart, path, [&] { fso_->DeleteAtRestart(path); });
  }
  std::unique_ptr<TextStream> OpenLog(const std::string& path, bool mustBeNew) override {
    return Wrapped<NamingTextStream>(
        NamingFailures(Operation::OpenLog, path, [&] { return fso_->OpenLog(path, mustBeNew); }), path);
  }
  std::string InstallerFolder() override {
    return NamingFailures(Operation::InstallerFolder, "", [&] { return fso_->InstallerFolder(); });
  }
  void DeleteInstallerCache(const std::string& path) override {
    NamingFailures(Operation::DeleteInstallerCache, path, [&] { fso_->DeleteInstallerCache(path); });
  }

 private:
  template <class Get>
  std::unique_ptr<platform::Folder> NamedFolder(Operation operation, const std::string& path, Get&& get) {
    return Wrapped<NamingFolder>(NamingFailures(operation, path, std::forward<Get>(get)), path);
  }

  std::unique_ptr<FileSystem> fso_;
};

class NamingNetwork final : public Network {
 public:
  explicit NamingNetwork(std::unique_ptr<Network> network) : network_(std::move(network)) {}
  std::string ComputerName() override {
    return NamingFailures(Operation::ComputerName, "", [&] { return network_->ComputerName(); });
  }

 private:
  std::unique_ptr<Network> network_;
};

class NamingRegistryProvider final : public RegistryProvider {
 public:
  explicit NamingRegistryProvider(std::unique_ptr<RegistryProvider> provider) : provider_(std::move(provider)) {}
  long EnumKey(std::uint32_t hDefKey, const std::string& sSubKeyName,
               std::optional<std::vector<std::string>>& sNames) override {
    return NamingFailures(Operation::EnumKey, KeyName(hDefKey, sSubKeyName),
                          [&] { return provider_->EnumKey(hDefKey, sSubKeyName, sNames); });
  }
  long DeleteKey(std::uint32_t hDefKey, const std::string& sSubKeyName) override {
    return NamingFailures(Operation::DeleteKey, KeyName(hDefKey, sSubKeyName),
                          [&] { return provider_->DeleteKey(hDefKey, sSubKeyName); });
  }
  long EnumValues(std::uint32_t hDefKey, const std::string& sSubKeyName,
                  std::optional<std::vector<std::string>>& sNames) override {
    return NamingFailures(Operation::EnumValues, KeyName(hDefKey, sSubKeyName),
                          [&] { return provider_->EnumValues(hDefKey, sSubKeyName, sNames); });
  }
  long GetStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                      std::optional<std::string>& sValue) override {
    return NamingFailures(Operation::GetStringValue, ValueName(hDefKey, sSubKeyName, sValueName),
                          [&] { return provider_->GetStringValue(hDefKey, sSubKeyName, sValueName, sValue); });
  }
  long GetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           std::optional<std::vector<std::string>>& sValue) override {
    return NamingFailures(Operation::GetMultiStringValue, ValueName(hDefKey, sSubKeyName, sValueName),
                          [&] { return provider_->GetMultiStringValue(hDefKey, sSubKeyName, sValueName, sValue); });
  }
  long SetMultiStringValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName,
                           const std::vector<std::string>& sValue) override {
    return NamingFailures(Operation::SetMultiStringValue, ValueName(hDefKey, sSubKeyName, sValueName),
                          [&] { return provider_->SetMultiStringValue(hDefKey, sSubKeyName, sValueName, sValue); });
  }
  long DeleteValue(std::uint32_t hDefKey, const std::string& sSubKeyName, const std::string& sValueName) override {
    return NamingFailures(Operation::DeleteValue, ValueName(hDefKey, sSubKeyName, sValueName),
                          [&] { return provider_->DeleteValue(hDefKey, sSubKeyName, sValueName); });
  }

 private:
  static std::string ValueName(std::uint32_t root, const std::string& path, const std::string& value) {
    return KeyName(root, path) + "\\" + value;
  }
  std::unique_ptr<RegistryProvider> provider_;
};

class NamingProduct final : public Product {
 public:
  explicit NamingProduct(std::unique_ptr<Product> product) : product_(std::move(product)) {}
  std::string Name() override {
    return NamingFailures(Operation::Name, [&] { return Code(); }, [&] { return product_->Name(); });
  }
  std::string ProductCode() override {
    return NamingFailures(Operation::ProductCode, "", [&] { return product_->ProductCode(); });
  }
  long Uninstall(const std::string& installerLog) override {
    return NamingFailures(Operation::Uninstall, [&] { return Code(); }, [&] { return product_->Uninstall(installerLog); });
  }

 private:
  // The product as a log names it: its code, when that can be read.
  std::string Code() {
    try {
      return product_->ProductCode();
    } catch (const Error&) {
      return "?";
    }
  }
  std::unique_ptr<Product> product_;
};

class NamingProductServices final : public ProductServices {
 public:
  explicit NamingProductServices(std::unique_ptr<ProductServices> services) : services_(std::move(services)) {}
  std::vector<std::unique_ptr<Product>> ExecQuery(const std::string& query) override {
    auto products = NamingFailures(Operation::ExecQuery, query, [&] { return services_->ExecQuery(query); });
    std::vector<std::unique_ptr<Product>> named;
    for (auto& product : products) named.push_back(Wrapped<NamingProduct>(std::move(product)));
    return named;
  }
  std::vector<PatchRegistration> EnumPatches() override {
    return NamingFailures(Operation::EnumPatches, "", [&] { return services_->EnumPatches(); });
  }
  std::string DecomposeDescriptor(const std::string& descriptor) override {
    return NamingFailures(Operation::DecomposeDescriptor, descriptor, [&] { return services_->DecomposeDescriptor(descriptor); });
  }

 private:
  std::unique_ptr<ProductServices> services_;
};

}  // namespace

std::unique_ptr<Shell> FailureNamingObjects::CreateShell() {
  return Wrapped<NamingShell>(NamingFailures(Operation::CreateObject, kShellProgId, [&] { return objects_.CreateShell(); }));
}

std::unique_ptr<FileSystem> FailureNamingObjects::CreateFileSystem() {
  return Wrapped<NamingFileSystem>(
      NamingFailures(Operation::CreateObject, kFileSystemProgId, [&] { return objects_.CreateFileSystem(); }));
}

std::unique_ptr<Network> FailureNamingObjects::CreateNetwork() {
  return Wrapped<NamingNetwork>(NamingFailures(Operation::CreateObject, kNetworkProgId, [&] { return objects_.CreateNetwork(); }));
}

std::unique_ptr<RegistryProvider> FailureNamingObjects::GetRegistryProvider(const std::string& moniker,
                                                                            RegistryView view) {
  return Wrapped<NamingRegistryProvider>(
      NamingFailures(Operation::GetObject, moniker, [&] { return objects_.GetRegistryProvider(moniker, view); }));
}

std::unique_ptr<ProductServices> FailureNamingObjects::GetProductServices(const std::string& moniker) {
  return Wrapped<NamingProductServices>(
      NamingFailures(Operation::GetObject, moniker, [&] { return objects_.GetProductServices(moniker); }));
}

}  // namespace kelvane::platform
