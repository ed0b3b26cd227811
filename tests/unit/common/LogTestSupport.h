// What the log tests need around the library: private temporary folders,
// file contents, the environment, child processes and a lock held on a file
// the way another process would hold it.
#pragma once

#include <string>
#include <vector>

namespace log_tests {

// A fresh folder under the system's temporary folder, removed with its content at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // With a trailing separator.
    const std::u16string& Path() const { return path_; }

private:
    std::u16string path_;
};

bool FileExists(const std::u16string& path);
std::string ReadFileBytes(const std::u16string& path);
// File names (without folder) in a folder, sorted.
std::vector<std::u16string> FilesIn(const std::u16string& folder);
// Splits at CR LF; a trailing CR LF gives no empty last element.
std::vector<std::string> CrLfLines(const std::string& bytes);

void SetEnvironment(const std::u16string& name, const std::u16string& value);
void UnsetEnvironment(const std::u16string& name);

// Starts a program of the test folder with arguments; Wait answers its exit code.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    int Wait();

private:
    void* handle_ = nullptr;
    long long pid_ = 0;
    bool waited_ = false;
};

// The test executable's folder, with a trailing separator.
std::string ProgramFolder();
// "name" on Linux, "name.exe" on Windows.
std::string ProgramFileName(const std::string& name);

// Whether a second process could append to the file now (it opens, and locks
// where the system locks, without waiting); leaves it as it was.
bool OtherWriterGetsIn(const std::u16string& path);

// Holds a file open the way a second process appending to it would.
class ForeignFileLock {
public:
    explicit ForeignFileLock(const std::u16string& path);
    ~ForeignFileLock();
    ForeignFileLock(const ForeignFileLock&) = delete;
    ForeignFileLock& operator=(const ForeignFileLock&) = delete;
    void Release();

private:
    void* handle_ = nullptr;
    int fd_ = -1;
};

}  // namespace log_tests
